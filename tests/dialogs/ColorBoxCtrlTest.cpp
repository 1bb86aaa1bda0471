#include "dialogs/ColorBoxCtrl.h"
#include "ColorTestSupport.h"
#include "DialogTestSupport.h"
#include "QueuedEvents.h"
#include "dialogs/DlgFastColorPicker.h"
#include "platform/ui/Static.h"

using namespace ColorTest;
using namespace DialogTest;
using namespace ndb;

namespace
{
// A window holding swatches; it records what they tell it.
class CSwatchHost : public CWnd
{
public:
    std::vector<WPARAM> changes;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == UM_COLORBOX_CHANGED)
        {
            changes.push_back(wParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ColorBox : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FillPalette(palette);
        ASSERT_TRUE(host.Create(QString(), QString(), WS_VISIBLE, CRect(100, 100, 400, 160), nullptr, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.GetSafeHwnd()));
    }
    // A swatch over a hidden placeholder 30 wide and 20 high at x.
    std::unique_ptr<CColorBoxCtrl> MakeSwatch(int x, UINT id, const CNdbColor& color, int flags = 0)
    {
        auto placeholder = std::make_unique<CStatic>();
        placeholder->CreateEx(0, QStringLiteral("static"), QString(), WS_CHILD, CRect(x, 10, x + 30, 30),
                              &host, id);
        auto swatch = std::make_unique<CColorBoxCtrl>(&palette);
        EXPECT_TRUE(swatch->CreateFromPlaceholder(placeholder.get(), flags));
        SetColorBoxColor(color, swatch.get());
        swatch->Invalidate();
        m_placeholders.push_back(std::move(placeholder));
        return swatch;
    }
    // Clicks the swatch and runs the steps in the popup it opens.
    void ClickAndThen(CColorBoxCtrl& swatch, std::function<void(QWidget*)> steps)
    {
        WhenModal([steps = std::move(steps)] { steps(QApplication::activeModalWidget()); });
        SendMouse(swatch.GetSafeHwnd(), QEvent::MouseButtonPress, QPoint(5, 5));
    }

    CNdbPalette palette;
    CSwatchHost host;
    std::vector<std::unique_ptr<CStatic>> m_placeholders;
};

} // namespace

TEST_F(ColorBox, PaintsEachKindOfColour)
{
    auto none = MakeSwatch(10, 1001, CNdbColor());
    auto fixed = MakeSwatch(40, 1002, CNdbColor(200, 30, 40));
    auto reference = MakeSwatch(70, 1003, CNdbColor(SkyKey));
    auto missing = MakeSwatch(100, 1004, CNdbColor(QStringLiteral("{NOT-IN-PALETTE}")));
    auto disabled = MakeSwatch(130, 1005, CNdbColor(200, 30, 40));
    auto dark = MakeSwatch(160, 1006, CNdbColor(BrandKey));
    disabled->EnableWindow(false);
    QCoreApplication::processEvents();
    const QImage picture = Grab(host);
    picture.save(ArtifactPath(QStringLiteral("swatch_kinds.png")));

    EXPECT_EQ(none->GetSafeHwnd()->geometry(), QRect(10, 10, 20, 20)) << "made square";
    EXPECT_EQ(picture.pixel(10, 10), Rgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(13, 13), Rgb(255, 255, 255)) << "no colour: white quadrant";
    EXPECT_EQ(picture.pixel(26, 13), Rgb(0xD2, 0xD2, 0xD2)) << "no colour: grey quadrant";
    EXPECT_EQ(picture.pixel(50, 20), Rgb(200, 30, 40));
    EXPECT_EQ(picture.pixel(130, 10), Rgb(0x80, 0x80, 0x80)) << "a disabled swatch has a grey frame";
    EXPECT_EQ(missing->GetColor(), CNdbColor(255, 255, 255)) << "an unknown key is stored as white";
    EXPECT_EQ(reference->GetColor(), CNdbColor(SkyKey)) << "a known key stays a reference";
    // The palette number: dark text on the light Sky, light text on the dark Brand.
    const QImage skyBox = picture.copy(72, 12, 16, 16);
    const QImage brandBox = picture.copy(162, 12, 16, 16);
    bool darkInk = false;
    bool lightInk = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            darkInk = darkInk || qGray(skyBox.pixel(x, y)) < 60;
            lightInk = lightInk || qGray(brandBox.pixel(x, y)) > 200;
        }
    EXPECT_TRUE(darkInk);
    EXPECT_TRUE(lightInk);
}

TEST_F(ColorBox, APickChangesTheColourAndTellsTheParentEvenWhenItIsTheSame)
{
    auto swatch = MakeSwatch(10, 1001, CNdbColor(0, 0, 255));
    ClickAndThen(*swatch, [](QWidget* popup) { SendMouse(popup, QEvent::MouseButtonPress, CellCentre(5)); });
    EXPECT_EQ(swatch->GetColor(), CNdbColor(0, 0, 255));
    EXPECT_EQ(host.changes, std::vector<WPARAM>{1001});

    ClickAndThen(*swatch, [](QWidget* popup) { SendMouse(popup, QEvent::MouseButtonPress, CellCentre(24)); });
    EXPECT_EQ(swatch->GetColor(), CNdbColor(0, 204, 0));
    EXPECT_EQ(host.changes.size(), 2u);
}

TEST_F(ColorBox, HoveringThenEscapeOrRightButtonKeepsTheColourAndSaysNothing)
{
    auto swatch = MakeSwatch(10, 1001, CNdbColor(SkyKey));
    ClickAndThen(*swatch,
                 [](QWidget* popup)
                 {
                     SendMouse(popup, QEvent::MouseMove, CellCentre(100));
                     QTest::keyClick(popup, Qt::Key_Escape);
                 });
    ClickAndThen(*swatch,
                 [](QWidget* popup)
                 {
                     SendMouse(popup, QEvent::MouseMove, CellCentre(7));
                     SendMouse(popup, QEvent::MouseButtonPress, QPoint(120, 60), Qt::RightButton);
                 });
    EXPECT_EQ(swatch->GetColor(), CNdbColor(SkyKey));
    EXPECT_TRUE(host.changes.empty());
}

TEST_F(ColorBox, ADisabledSwatchIgnoresClicks)
{
    auto swatch = MakeSwatch(10, 1001, CNdbColor(1, 2, 3));
    swatch->EnableWindow(false);
    bool opened = false;
    QTimer::singleShot(0, [&] { opened = QApplication::activeModalWidget() != nullptr; });
    SendMouse(swatch->GetSafeHwnd(), QEvent::MouseButtonPress, QPoint(5, 5));
    AwaitQueuedEvents();
    EXPECT_FALSE(opened);
    EXPECT_TRUE(host.changes.empty());
}

TEST_F(ColorBox, TheSwatchsFlagsReachItsPopup)
{
    auto swatch = MakeSwatch(10, 1001, CNdbColor(1, 2, 3), FCP_NO_NOCOLOR | FCP_NO_PALETTE);
    QSize size;
    ClickAndThen(*swatch,
                 [&](QWidget* popup)
                 {
                     size = popup->size();
                     QTest::keyClick(popup, Qt::Key_Escape);
                 });
    EXPECT_EQ(size, QSize(256, 193));
}

TEST_F(ColorBox, PopupPicturesForEachFlagSet)
{
    for (const int flags : {0, 1, 3})
    {
        CDlgFastColorPicker popup;
        WhenModal(
            [&]
            {
                SendMouse(popup.GetSafeHwnd(), QEvent::MouseMove, CellCentre(8 + 18 * 4));
                QCoreApplication::processEvents();
                SaveArtifact(popup, QStringLiteral("popup_grid_flags_%1.png").arg(flags));
                QTest::keyClick(popup.GetSafeHwnd(), Qt::Key_Escape);
            });
        popup.PopupAt(flags, flags & FCP_NO_PALETTE ? nullptr : &palette, CPoint(20, 20), CNdbColor(SkyKey));
    }
}
