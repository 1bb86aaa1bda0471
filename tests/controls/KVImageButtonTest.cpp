#include "controls/KVImageButton.h"
#include "ControlTestSupport.h"
#include "QueuedEvents.h"
#include "platform/ui/KeyboardRepeat.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace
{
constexpr UINT StripId = 900;
constexpr UINT ButtonId = 4242;

class ImageButton : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resources.AddImage(StripId, MakeStateStrip(9, 24), "PNG");
        ASSERT_TRUE(resources.Load());
        ASSERT_TRUE(parent.CreateShown(300, 120));
    }

    void CreateButton(DWORD style, int width = 60, const QString& text = QString())
    {
        ASSERT_TRUE(button.Create(StripId, 0, text, style, CRect(20, 20, 20 + width, 44), &parent, ButtonId,
                                  nullptr, 0xC0C0C0));
    }
    QWidget* Widget() { return button.GetSafeHwnd(); }
    QRgb FaceColor() { return Grab(button).pixel(1, 5); }
    std::size_t Commands() const { return parent.commands.size(); }

    ScopedResourceModule resources;
    CCommandRecorder parent;
    CKVImageButton button;
};
} // namespace

TEST_F(ImageButton, ClickSendsOneCommandOnRelease)
{
    CreateButton(0);
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Commands(), 0u);
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(Commands(), 1u);
    EXPECT_EQ(parent.commands[0].first, WPARAM(ButtonId));
    EXPECT_EQ(parent.commands[0].second, 0);
}

TEST_F(ImageButton, PressMovedOutAndReleasedSendsNothing)
{
    CreateButton(0);
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(FaceColor(), StripColor(2, 0));
    QTest::mouseMove(Widget(), QPoint(-15, 10));
    EXPECT_EQ(FaceColor(), StripColor(0, 0)) << "outside during the press the face is normal";
    QTest::mouseMove(Widget(), QPoint(12, 12));
    EXPECT_EQ(FaceColor(), StripColor(2, 0)) << "back inside it is pressed again";
    QTest::mouseMove(Widget(), QPoint(200, 60));
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(200, 60));
    EXPECT_EQ(Commands(), 0u);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(ImageButton, HoverShowsAndEndsWhenThePointerLeaves)
{
    CreateButton(0);
    QTest::mouseMove(Widget(), QPoint(10, 10));
    EXPECT_EQ(FaceColor(), StripColor(1, 0));
    // Leaving onto the parent gives the button no mouse message; its hover watch notices.
    QTest::mouseMove(parent.GetSafeHwnd(), QPoint(250, 100));
    QTRY_COMPARE_WITH_TIMEOUT(FaceColor(), StripColor(0, 0), 5000);
}

TEST_F(ImageButton, DisabledButtonIgnoresClicksAndShowsItsDisabledFrame)
{
    CreateButton(0);
    button.EnableWindow(false);
    EXPECT_EQ(FaceColor(), StripColor(3, 0));
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Commands(), 0u);
    button.EnableWindow(true);
    EXPECT_EQ(FaceColor(), StripColor(0, 0));
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Commands(), 1u);
}

TEST_F(ImageButton, CheckShowsPressedHoverWinsAndAClickClearsIt)
{
    CreateButton(0);
    EXPECT_EQ(button.SendMessage(BM_SETCHECK, BST_CHECKED), 0);
    EXPECT_EQ(FaceColor(), StripColor(2, 0));
    QTest::mouseMove(Widget(), QPoint(10, 10));
    EXPECT_EQ(FaceColor(), StripColor(1, 0)) << "a checked button under the pointer shows hover";
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(parent.GetSafeHwnd(), QPoint(250, 100));
    QTRY_COMPARE_WITH_TIMEOUT(FaceColor(), StripColor(0, 0), 5000);
    button.SendMessage(BM_SETCHECK, 2);
    EXPECT_EQ(FaceColor(), StripColor(0, 0)) << "indeterminate counts as unchecked";
}

TEST_F(ImageButton, CheckIsIgnoredWhileTheButtonHoldsTheCapture)
{
    CreateButton(0);
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    button.SendMessage(BM_SETCHECK, BST_CHECKED);
    QTest::mouseMove(Widget(), QPoint(-15, 10));
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(-15, 10));
    EXPECT_EQ(FaceColor(), StripColor(0, 0));
}

TEST_F(ImageButton, AnswersTheButtonDialogCode)
{
    CreateButton(0);
    EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), DLGC_BUTTON);
}

TEST_F(ImageButton, AutoRepeatSendsOnPressThenRepeatsUntilRelease)
{
    CreateButton(CKVImageButton::StyleAutoRepeat);
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Commands(), 1u) << "the first command goes out with the press";
    QTRY_VERIFY_WITH_TIMEOUT(Commands() >= 3, 10000);
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    const std::size_t atRelease = Commands();
    // A repeat is never further apart than the delay: one that still ran would have come by now.
    AwaitTimerPeriod(CurrentRepeatDelayMs());
    EXPECT_EQ(Commands(), atRelease) << "nothing is sent on or after release";
    for (const auto& [wParam, lParam] : parent.commands)
        EXPECT_EQ(wParam, WPARAM(ButtonId));
}

TEST_F(ImageButton, AutoRepeatWaitsForTheKeyboardDelayBeforeTheFirstRepeat)
{
    CreateButton(CKVImageButton::StyleAutoRepeat);
    QElapsedTimer held;
    held.start();
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Commands(), 1u);
    QTRY_VERIFY_WITH_TIMEOUT(Commands() >= 2, 10000);
    // Timers never fire early by more than a few per cent; a busy machine only makes it later.
    EXPECT_GE(held.elapsed(), CurrentRepeatDelayMs() * 9 / 10);
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
}

TEST_F(ImageButton, CancelModeEndsAnAutoRepeat)
{
    CreateButton(CKVImageButton::StyleAutoRepeat);
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    button.SendMessage(WM_CANCELMODE);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    AwaitTimerPeriod(CurrentRepeatDelayMs());
    EXPECT_EQ(Commands(), 1u);
    EXPECT_EQ(FaceColor(), StripColor(0, 0));
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Commands(), 1u);
}

TEST(ImageButtonTiming, RepeatTimesFollowTheKeyboardSettings)
{
    const std::pair<int, int> delays[] = {{0, 250}, {1, 500}, {2, 750}, {3, 1000}, {7, 1000}};
    for (const auto& [setting, ms] : delays)
        EXPECT_EQ(RepeatDelayMs(setting), ms) << "delay " << setting;
    const std::pair<int, int> intervals[] = {{0, 400}, {1, 388}, {7, 317}, {16, 210}, {31, 32}, {40, 32}};
    for (const auto& [setting, ms] : intervals)
        EXPECT_EQ(RepeatIntervalMs(setting), ms) << "speed " << setting;
}

TEST_F(ImageButton, ThreeSliceFillsAnyWidth)
{
    CreateButton(CKVImageButton::StyleThreeSlice, 60);
    const QImage face = Grab(button);
    EXPECT_EQ(face.pixel(0, 5), StripColor(0, 0));
    EXPECT_EQ(face.pixel(30, 5), StripColor(0, 1));
    EXPECT_EQ(face.pixel(59, 5), StripColor(0, 2));
    EXPECT_NE(face.pixel(30, 24), StripColor(0, 1)) << "the face is one frame high, not stretched";
}

TEST_F(ImageButton, ThreeSliceNarrowerThanTheImageDrawsBothHalves)
{
    CreateButton(CKVImageButton::StyleThreeSlice, 6);
    const QImage face = Grab(button);
    EXPECT_EQ(face.pixel(0, 5), StripColor(0, 0));
    EXPECT_EQ(face.pixel(1, 5), StripColor(0, 0));
    EXPECT_EQ(face.pixel(5, 5), StripColor(0, 2)) << "the right half overlaps the left";
    EXPECT_EQ(face.pixel(2, 5), StripColor(0, 2));
}

TEST_F(ImageButton, RepeatLastColumnWidensTheFrame)
{
    CreateButton(CKVImageButton::StyleRepeatLastColumn, 40);
    const QImage face = Grab(button);
    EXPECT_EQ(face.pixel(4, 5), StripColor(0, 1));
    EXPECT_EQ(face.pixel(8, 5), StripColor(0, 2));
    EXPECT_EQ(face.pixel(39, 5), StripColor(0, 2));
}

TEST_F(ImageButton, PlainFaceKeepsItsNaturalWidthAndFillsTheBackgroundOnlyWhenAsked)
{
    CreateButton(0, 40);
    EXPECT_EQ(Grab(button).pixel(8, 5), StripColor(0, 2));
    EXPECT_NE(Grab(button).pixel(20, 5), StripColor(0, 2));
    EXPECT_NE(Grab(button).pixel(20, 5), qRgb(0xC0, 0xC0, 0xC0));
    button.DestroyWindow();
    CreateButton(CKVImageButton::StyleFillBackground, 40);
    EXPECT_EQ(Grab(button).pixel(20, 5), qRgb(0xC0, 0xC0, 0xC0));
}

TEST_F(ImageButton, SwatchIsDrawnInItsColour)
{
    CreateButton(CKVImageButton::StyleSwatch, 40);
    EXPECT_EQ(Grab(button).pixel(5, 17), qRgb(255, 0, 0)) << "red until the owner sets a colour";
    button.m_swatchColor = RGB(0, 128, 255);
    button.Invalidate();
    EXPECT_EQ(Grab(button).pixel(5, 17), qRgb(0, 128, 255));
    EXPECT_EQ(Grab(button).pixel(1, 21), StripColor(0, 0)) << "only the swatch rectangle is filled";
}

TEST_F(ImageButton, TextIsDrawnInTheColourOfTheFrame)
{
    CreateButton(CKVImageButton::StyleFillBackground | CKVImageButton::StyleRepeatLastColumn, 120,
                 QStringLiteral("WWWW"));
    button.m_textColors[0] = RGB(255, 255, 0);
    button.m_textColors[3] = RGB(0, 255, 255);
    auto countColor = [](const QImage& image, QRgb color)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == color ? 1 : 0;
        return count;
    };
    EXPECT_GT(countColor(Grab(button), qRgb(255, 255, 0)), 0);
    button.EnableWindow(false);
    const QImage disabled = Grab(button);
    EXPECT_EQ(countColor(disabled, qRgb(255, 255, 0)), 0);
    EXPECT_GT(countColor(disabled, qRgb(0, 255, 255)), 0);
}

TEST_F(ImageButton, EmptyTextDrawsNoTextWhateverItsColours)
{
    CreateButton(CKVImageButton::StyleRepeatLastColumn, 120);
    const QImage before = Grab(button);
    button.m_textColors[0] = RGB(255, 255, 0);
    button.Invalidate();
    EXPECT_EQ(Grab(button), before);
}

TEST_F(ImageButton, SizesComeFromOneFrame)
{
    CreateButton(0);
    EXPECT_EQ(button.GetImageSize(), CSize(9, 24));
    EXPECT_EQ(button.GetPreferredSize(), CSize(9, 24));
    CKVImageButton withText;
    ASSERT_TRUE(
        withText.Create(StripId, 0, QStringLiteral("Send"), 0, CRect(0, 0, 10, 10), &parent, 1, nullptr, 0));
    const CSize preferred = withText.GetPreferredSize();
    EXPECT_GT(preferred.cx, 9 / 4);
    EXPECT_EQ(preferred.cy, 24);
    CKVImageButton noImage;
    ASSERT_TRUE(noImage.Create(0, 0, QString(), 0, CRect(0, 0, 10, 10), &parent, 2, nullptr, 0));
    EXPECT_EQ(noImage.GetImageSize(), CSize(0, 0));
}

TEST_F(ImageButton, CommandsGoToTheNotifyWindowWhenOneIsGiven)
{
    CCommandRecorder other;
    ASSERT_TRUE(other.CreateShown(50, 50));
    ASSERT_TRUE(button.Create(StripId, 0, QString(), 0, CRect(0, 0, 30, 24), &parent, ButtonId, &other, 0));
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Commands(), 0u);
    EXPECT_EQ(other.commands.size(), 1u);
}

TEST(ImageButtonArtifact, ProgramFacesInEveryState)
{
    CCommandRecorder parent;
    ASSERT_TRUE(parent.CreateShown(440, 80));
    parent.GetSafeHwnd()->setStyleSheet(QStringLiteral("background: #E9ECF0"));
    const char* const captions[] = {"Normal", "Hover", "Checked", "Disabled"};
    std::unique_ptr<CKVImageButton> buttons[4];
    std::unique_ptr<CKVImageButton> headers[4];
    for (int i = 0; i < 4; ++i)
    {
        buttons[i] = std::make_unique<CKVImageButton>();
        ASSERT_TRUE(buttons[i]->Create(139, 0, QString::fromLatin1(captions[i]),
                                       CKVImageButton::StyleThreeSlice | CKVImageButton::StyleCenterText,
                                       CRect(10 + 105 * i, 10, 105 * (i + 1), 34), &parent, UINT(100 + i),
                                       nullptr, 0xC0C0C0));
        headers[i] = std::make_unique<CKVImageButton>();
        ASSERT_TRUE(headers[i]->Create(303, 0, QStringLiteral("Column"), 0x4A,
                                       CRect(10 + 105 * i, 44, 105 * (i + 1), 64), &parent, UINT(200 + i),
                                       nullptr, 0xC0C0C0));
        headers[i]->m_textOffset = CPoint(4, 0);
    }
    for (auto* set : {buttons, headers})
    {
        set[2]->SendMessage(BM_SETCHECK, BST_CHECKED);
        set[3]->EnableWindow(false);
    }
    QTest::mouseMove(buttons[1]->GetSafeHwnd(), QPoint(20, 10));
    const QImage hovered = Grab(parent);
    QTest::mouseMove(headers[1]->GetSafeHwnd(), QPoint(20, 10));
    QImage image = Grab(parent);
    // The button row from the first grab, the header row from the second: one hover each.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, hovered.pixel(x, y));
    EXPECT_NE(image.pixel(20, 20), image.pixel(125, 20)) << "hover differs from normal";
    EXPECT_NE(image.pixel(125, 20), image.pixel(230, 20)) << "checked differs from hover";
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    image.save(QStringLiteral(KV_ARTIFACT_DIR "/imagebutton-states.png"));
}

TEST_F(ImageButton, DisablingAPressedButtonCancelsThePress)
{
    for (const DWORD style : {DWORD(0), CKVImageButton::StyleAutoRepeat})
    {
        SCOPED_TRACE(style);
        CreateButton(style);
        QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
        const std::size_t atPress = Commands();
        button.EnableWindow(false);
        EXPECT_EQ(CWnd::GetCapture(), nullptr) << "a disabled window holds no capture";
        AwaitTimerPeriod(CurrentRepeatDelayMs());
        QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(Commands(), atPress) << "a disabled button sends nothing";
        EXPECT_EQ(FaceColor(), StripColor(3, 0));
        button.EnableWindow(true);
        EXPECT_EQ(FaceColor(), StripColor(0, 0)) << "the press is over";
        button.DestroyWindow();
    }
}
