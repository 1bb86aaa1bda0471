#include "dialogs/DlgFastColorPicker.h"
#include "ColorTestSupport.h"
#include "DialogTestSupport.h"
#include "dialogs/DlgColorPicker.h"
#include "res/dialogs/ColorPicker.h"

#include <QListWidget>

using namespace ColorTest;
using namespace DialogTest;
using namespace ndb;

namespace
{
constexpr QRgb Background = qRgb(0xE1, 0xE3, 0xE6);

QPoint GreyCentre(int k)
{
    return {40, 27 + 22 * k + 10};
}

class FastColorPicker : public ::testing::Test
{
protected:
    // Opens the popup at a point where it fits and runs the steps while it is up.
    INT_PTR Run(int flags, const CNdbColor& color, std::function<void(QWidget*)> steps)
    {
        WhenModal([this, steps = std::move(steps)] { steps(popup.GetSafeHwnd()); });
        return popup.PopupAt(flags, &palette, CPoint(20, 20), color);
    }
    QWidget* Item(UINT id) { return Widget(popup.GetDlgItem(int(id))); }

    CNdbPalette palette;
    CDlgFastColorPicker popup;

    void SetUp() override { FillPalette(palette); }
};
} // namespace

TEST_F(FastColorPicker, HoverShowsAColourButEscapeAndTheRightButtonCancel)
{
    const CNdbColor opened(10, 20, 30);
    CNdbColor hovered;
    EXPECT_EQ(Run(0, opened,
                  [&](QWidget* window)
                  {
                      SendMouse(window, QEvent::MouseMove, CellCentre(5));
                      hovered = popup.GetColor();
                      QTest::keyClick(window, Qt::Key_Escape);
                  }),
              IDCANCEL);
    EXPECT_EQ(hovered, CNdbColor(0, 0, 255)) << "cell 5 of the web grid";

    CDlgFastColorPicker second;
    WhenModal([&]
              { SendMouse(second.GetSafeHwnd(), QEvent::MouseButtonPress, CellCentre(0), Qt::RightButton); });
    EXPECT_EQ(second.PopupAt(0, &palette, CPoint(20, 20), opened), IDCANCEL);
}

TEST_F(FastColorPicker, AClickPicksTheCellUnderThePointer)
{
    struct Case
    {
        QPoint at;
        CNdbColor picked;
    };
    const Case cases[] = {
        {CellCentre(215), CNdbColor(255, 255, 255)},
        {CellCentre(36 * 2 + 6 * 3 + 1), CNdbColor(102, 153, 51)},
        {QPoint(18, 27 + 22 * 1 + 10), CNdbColor(0, 255, 255)},
        {GreyCentre(2), CNdbColor(102, 102, 102)},
        {QPoint(200, 170), CNdbColor()},
    };
    for (const Case& c : cases)
    {
        CDlgFastColorPicker picker;
        WhenModal(
            [&]
            {
                // A press between cells does nothing.
                SendMouse(picker.GetSafeHwnd(), QEvent::MouseButtonPress, QPoint(51, 100));
                SendMouse(picker.GetSafeHwnd(), QEvent::MouseButtonPress, c.at);
            });
        EXPECT_EQ(picker.PopupAt(0, &palette, CPoint(20, 20), CNdbColor(1, 2, 3)), IDOK);
        EXPECT_EQ(picker.GetColor(), c.picked) << c.at.x() << "," << c.at.y();
    }
}

TEST_F(FastColorPicker, OpenedOnWhiteItRingsTheGreysCellNotTheWebCell)
{
    QImage picture;
    Run(0, CNdbColor(255, 255, 255),
        [&](QWidget* window)
        {
            picture = window->grab().toImage();
            QTest::keyClick(window, Qt::Key_Escape);
        });
    // The ring is the pixel line just outside a cell.
    EXPECT_EQ(picture.pixel(29, 27 + 22 * 5 - 1), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(50, 27 + 22 * 5 + 10), qRgb(0, 0, 0));
    const QPoint web = CellCentre(215) - QPoint(4, 4);
    EXPECT_EQ(picture.pixel(web.x() - 1, web.y() - 1), Background);
    EXPECT_EQ(picture.pixel(web.x() + 9, web.y() + 4), Background);
}

TEST_F(FastColorPicker, FlagsDecideTheHeightAndWhereTheLowerButtonsSit)
{
    struct Case
    {
        int flags;
        int height;
        int buttonsTop;
        bool paletteList;
        bool noColorCell;
    };
    const Case cases[] = {{0, 506, 183, true, true}, {1, 486, 161, true, false}, {3, 193, 161, false, false}};
    for (const Case& c : cases)
    {
        CDlgFastColorPicker picker;
        QSize size;
        QRect pick;
        QRect more;
        bool hasList = false;
        CNdbColor underNoColor(9, 9, 9);
        WhenModal(
            [&]
            {
                size = picker.GetSafeHwnd()->size();
                pick = Widget(picker.GetDlgItem(ID_COLORPICKER_PICK))->geometry();
                more = Widget(picker.GetDlgItem(ID_COLORPICKER_MORE))->geometry();
                hasList = picker.GetDlgItem(IDC_PALETTE_LIST) != nullptr;
                SendMouse(picker.GetSafeHwnd(), QEvent::MouseMove, QPoint(200, 170));
                underNoColor = picker.GetColor();
                QTest::keyClick(picker.GetSafeHwnd(), Qt::Key_Escape);
            });
        picker.PopupAt(c.flags, c.flags & FCP_NO_PALETTE ? nullptr : &palette, CPoint(20, 20),
                       CNdbColor(9, 9, 9));
        EXPECT_EQ(size, QSize(256, c.height)) << c.flags;
        EXPECT_EQ(pick, QRect(8, c.buttonsTop, 22, 22)) << c.flags;
        EXPECT_EQ(more.right() + 1, 248) << c.flags;
        EXPECT_EQ(more.top(), c.buttonsTop) << c.flags;
        EXPECT_EQ(hasList, c.paletteList) << c.flags;
        EXPECT_EQ(underNoColor.GetKind() == NdbColorNone, c.noColorCell) << c.flags;
    }
}

TEST_F(FastColorPicker, PaletteRowsShowOnHoverAndAreTakenAsReferencesOnClick)
{
    CNdbColor hovered;
    EXPECT_EQ(Run(0, CNdbColor(102, 153, 204),
                  [&](QWidget*)
                  {
                      auto* list = qobject_cast<QListWidget*>(Item(IDC_PALETTE_LIST));
                      ASSERT_TRUE(list);
                      EXPECT_EQ(list->currentRow(), 1) << "the fixed colour equal to Sky is preselected";
                      const QPoint row0 = list->visualItemRect(list->item(0)).center();
                      SendMouse(list->viewport(), QEvent::MouseMove, row0);
                      hovered = popup.GetColor();
                      const QPoint row2 = list->visualItemRect(list->item(2)).center();
                      SendMouse(list->viewport(), QEvent::MouseMove, row2);
                      SendMouse(list->viewport(), QEvent::MouseButtonPress, row2);
                      SendMouse(list->viewport(), QEvent::MouseButtonRelease, row2);
                  }),
              IDOK);
    EXPECT_EQ(hovered, CNdbColor(BrandKey));
    EXPECT_EQ(popup.GetColor(), CNdbColor(PaperKey));
}

TEST_F(FastColorPicker, TheEyedropperSamplesTheScreenAndMatchesThePalette)
{
    QWidget target;
    target.setWindowFlags(Qt::FramelessWindowHint);
    target.setAutoFillBackground(true);
    QPalette colors = target.palette();
    colors.setColor(QPalette::Window, QColor(12, 34, 56));
    target.setPalette(colors);
    target.setGeometry(500, 400, 60, 60);
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    const QPoint targetCentre(530, 430);

    struct Case
    {
        int flags;
        CNdbColor picked;
    };
    for (const Case& c : {Case{0, CNdbColor(BrandKey)}, Case{3, CNdbColor(12, 34, 56)}})
    {
        CDlgFastColorPicker picker;
        CNdbColor whileMoving;
        WhenModal(
            [&]
            {
                QWidget* window = picker.GetSafeHwnd();
                QTest::mouseClick(Widget(picker.GetDlgItem(ID_COLORPICKER_PICK)), Qt::LeftButton);
                EXPECT_EQ(CWnd::GetCapture(), &picker);
                const QPoint local = targetCentre - window->geometry().topLeft();
                SendMouse(window, QEvent::MouseMove, local);
                whileMoving = picker.GetColor();
                SendMouse(window, QEvent::MouseButtonPress, local);
            });
        EXPECT_EQ(picker.PopupAt(c.flags, &palette, CPoint(20, 20), CNdbColor()), IDOK);
        EXPECT_EQ(picker.GetColor(), c.picked) << c.flags;
        EXPECT_EQ(whileMoving, c.picked) << c.flags;
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
    }
}

TEST_F(FastColorPicker, MoreColorsStartsOnTheResolvedColourAndEndsWithItsResult)
{
    struct Case
    {
        CNdbColor opened;
        QString startHex;
        int button;
        INT_PTR result;
    };
    const Case cases[] = {
        {CNdbColor(SkyKey), QStringLiteral("6699CC"), IDOK, IDOK},
        {CNdbColor(), QStringLiteral("000000"), IDOK, IDOK},
        {CNdbColor(10, 20, 30), QStringLiteral("0A141E"), IDCANCEL, IDCANCEL},
    };
    for (const Case& c : cases)
    {
        CDlgFastColorPicker picker;
        QString startHex;
        WhenModal(
            [&]
            {
                WhenModalAfter(picker.GetSafeHwnd(),
                               [&]
                               {
                                   QWidget* dialog = QApplication::activeModalWidget();
                                   QWidget* hex = Widget(CWnd::FromHandle(dialog)->GetDlgItem(IDC_HEX));
                                   startHex = CWnd::FromHandle(hex)->GetWindowText();
                                   TypeOver(hex, QStringLiteral("336699"));
                                   QTest::keyClick(dialog,
                                                   c.button == IDOK ? Qt::Key_Return : Qt::Key_Escape);
                               });
                QTest::mouseClick(Widget(picker.GetDlgItem(ID_COLORPICKER_MORE)), Qt::LeftButton);
            });
        EXPECT_EQ(picker.PopupAt(0, &palette, CPoint(20, 20), c.opened), c.result);
        EXPECT_EQ(startHex, c.startHex);
        if (c.result == IDOK)
        {
            EXPECT_EQ(picker.GetColor(), CNdbColor(0x33, 0x66, 0x99));
        }
    }
}

TEST(PlacePopup, StaysOnTheScreenAboveItsOpenerOrShiftedLeft)
{
    const CRect screen(0, 0, 800, 600);
    struct Case
    {
        CPoint at;
        int openerTop;
        CRect placed;
    };
    const Case cases[] = {
        {{100, 100}, 80, {100, 100, 356, 500}},
        {{100, 400}, 380, {100, 380 - 213, 356, 380}},
        {{700, 100}, 80, {544, 100, 800, 313}},
        {{700, 500}, 480, {544, 267, 800, 480}},
    };
    const int heights[] = {400, 213, 213, 213};
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        const Case& c = cases[i];
        EXPECT_EQ(PlacePopup(c.at, 256, heights[i], c.openerTop, screen), c.placed) << i;
    }
}
