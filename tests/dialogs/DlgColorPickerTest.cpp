#include "dialogs/DlgColorPicker.h"
#include "DialogTestSupport.h"
#include "res/dialogs/ColorPicker.h"

#include <QLineEdit>

using namespace DialogTest;
using ndb::CNdbRgba;

namespace
{
constexpr int IdH = IDC_H;
constexpr int IdS = IDC_S;
constexpr int IdV = IDC_V;
constexpr int IdR = IDC_R;
constexpr int IdG = IDC_G;
constexpr int IdB = IDC_B;
constexpr int IdHex = IDC_HEX;
constexpr int IdWebColors = IDC_WEB_COLORS;

const CNdbRgba Red(255, 0, 0);
const CNdbRgba Blue(0, 0, 255);
const CNdbRgba Orange(255, 128, 0);

// What the user does: type into an edit, or drag in the dialog (press, moves, release), after
// switching "Only Web Colors" on when asked.
struct Action
{
    int editId = 0;
    QString keys;
    std::vector<QPoint> drag;
    bool webColors = false;
};

struct Shown
{
    QString h, s, v, r, g, b, hex;
    int fieldX, fieldY, bar;
    CNdbRgba color;
};

struct Row
{
    const char* name;
    CNdbRgba start;
    Action action;
    Shown shown;
};

// Expectations worked out by hand from the truncating conversions.
const Row Rows[] = {
    {"pure red opens on hue 360",
     Red,
     {},
     {"360", "100", "100", "255", "0", "0", "FF0000", 255, 255, 255, Red}},
    {"a grey has no hue and its marker at the top",
     CNdbRgba(128, 128, 128),
     {},
     {"0", "0", "50", "128", "128", "128", "808080", 0, 128, 0, CNdbRgba(128, 128, 128)}},
    {"hex ff counts from the right and is blue",
     Red,
     {IdHex, "ff", {}},
     {"240", "100", "100", "0", "0", "255", "ff", 255, 255, 170, Blue}},
    {"hue 0 gives the red of hue 360",
     Blue,
     {IdH, "0", {}},
     {"0", "100", "100", "255", "0", "0", "FF0000", 255, 255, 255, Red}},
    {"hue 360 typed",
     Blue,
     {IdH, "360", {}},
     {"360", "100", "100", "255", "0", "0", "FF0000", 255, 255, 255, Red}},
    {"green typed moves hue and marker",
     Red,
     {IdG, "128", {}},
     {"30", "100", "100", "255", "128", "0", "FF8000", 255, 255, 21, Orange}},
    {"web colours never snap the picked colour",
     Red,
     {0, {}, {{110, 35}}, true},
     {"360", "39", "98", "250", "151", "151", "FA9797", 100, 250, 255, CNdbRgba(250, 151, 151)}},
    {"a field drag clamps at the top left",
     Red,
     {0, {}, {{60, 60}, {-40, -40}}},
     {"0", "0", "100", "255", "255", "255", "FFFFFF", 0, 255, 255, CNdbRgba(255, 255, 255)}},
    {"a field drag clamps at the bottom right",
     Red,
     {0, {}, {{60, 60}, {400, 400}}},
     {"0", "0", "0", "0", "0", "0", "000000", 255, 0, 255, CNdbRgba(0, 0, 0)}},
    {"a bar drag clamps at the top",
     Red,
     {0, {}, {{300, 100}, {300, -30}}},
     {"360", "100", "100", "255", "0", "0", "FF0000", 255, 255, 0, Red}},
    {"pressing the bar on its own row changes nothing",
     Orange,
     {0, {}, {{300, 51}}},
     {"30", "100", "100", "255", "128", "0", "FF8000", 255, 255, 21, Orange}},
};

QString Text(CDialog& dialog, int id)
{
    return dialog.GetDlgItem(id)->GetWindowText();
}

QString Describe(const Shown& s)
{
    return QStringLiteral("H %1 S %2 V %3 | R %4 G %5 B %6 | # %7 | field %8,%9 bar %10 | result %11,%12,%13")
        .arg(s.h, s.s, s.v, s.r, s.g, s.b, s.hex)
        .arg(s.fieldX)
        .arg(s.fieldY)
        .arg(s.bar)
        .arg(s.color.red)
        .arg(s.color.green)
        .arg(s.color.blue);
}

QString DescribeAction(const Action& a)
{
    if (a.editId)
        return QStringLiteral("type \"%1\" into %2").arg(a.keys).arg(a.editId);
    if (a.drag.empty())
        return QStringLiteral("open");
    QStringList points;
    for (const QPoint& p : a.drag)
        points << QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
    return QStringLiteral("%1drag %2")
        .arg(a.webColors ? QStringLiteral("web colours on, ") : QString(), points.join(' '));
}

Shown Read(CDlgColorPicker& dialog)
{
    return {Text(dialog, IdH),  Text(dialog, IdS),       Text(dialog, IdV),   Text(dialog, IdR),
            Text(dialog, IdG),  Text(dialog, IdB),       Text(dialog, IdHex), dialog.GetFieldX(),
            dialog.GetFieldY(), dialog.GetBarPosition(), dialog.GetColor()};
}

void Perform(CDlgColorPicker& dialog, const Action& action)
{
    if (action.webColors)
        QTest::mouseClick(Widget(dialog.GetDlgItem(IdWebColors)), Qt::LeftButton);
    if (action.editId)
        TypeOver(Widget(dialog.GetDlgItem(action.editId)), action.keys);
    if (!action.drag.empty())
        Drag(dialog.GetSafeHwnd(), action.drag);
}
} // namespace

TEST(DlgColorPicker, EveryWayOfChangingTheColourUpdatesTheOtherViews)
{
    QString table;
    for (const Row& row : Rows)
    {
        CDlgColorPicker dialog;
        dialog.SetColor(row.start);
        ASSERT_TRUE(dialog.Create(IDD_COLOR_PICKER));
        ASSERT_TRUE(ShowActive(dialog));
        Perform(dialog, row.action);
        const Shown shown = Read(dialog);
        table += QStringLiteral("%1\n  start %2,%3,%4; %5\n  %6\n")
                     .arg(QLatin1String(row.name))
                     .arg(row.start.red)
                     .arg(row.start.green)
                     .arg(row.start.blue)
                     .arg(DescribeAction(row.action), Describe(shown));
        EXPECT_EQ(Describe(shown).toStdString(), Describe(row.shown).toStdString()) << row.name;
        EXPECT_EQ(shown.color.alpha, 255) << row.name;
    }
    WriteTextArtifact(QStringLiteral("color_dialog_round_trips.txt"), table);
}

TEST(DlgColorPicker, WebColoursShowAtMost216ColoursInTheFieldAndTheBar)
{
    CDlgColorPicker dialog;
    dialog.SetColor(CNdbRgba(40, 200, 90));
    ASSERT_TRUE(dialog.Create(IDD_COLOR_PICKER));
    ASSERT_TRUE(ShowActive(dialog));
    const auto distinct = [&dialog](const CRect& area)
    {
        const QImage picture = Grab(dialog).copy(area.ToQRect());
        std::set<QRgb> colors;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                colors.insert(picture.pixel(x, y));
        return colors.size();
    };
    const std::size_t smooth = distinct(CDlgColorPicker::FieldRect);
    QTest::mouseClick(Widget(dialog.GetDlgItem(IdWebColors)), Qt::LeftButton);
    // The cross-hair adds black or white to what the field shows.
    EXPECT_LE(distinct(CDlgColorPicker::FieldRect), 217u);
    EXPECT_LE(distinct(CDlgColorPicker::BarRect), 216u);
    EXPECT_GT(smooth, 1000u);
    EXPECT_EQ(dialog.GetColor(), CNdbRgba(40, 200, 90)) << "the option changes only what is shown";
}

TEST(DlgColorPicker, ShowsTheOpeningColourAboveTheNewOneAndPlacesItsControls)
{
    CDlgColorPicker dialog;
    dialog.SetColor(Blue);
    ASSERT_TRUE(dialog.Create(IDD_COLOR_PICKER));
    ASSERT_TRUE(ShowActive(dialog));
    Drag(dialog.GetSafeHwnd(), {{300, 40}, {300, 200}});
    Drag(dialog.GetSafeHwnd(), {{200, 100}, {180, 120}});
    const QImage picture = Grab(dialog);
    EXPECT_EQ(picture.width(), 520);
    EXPECT_EQ(picture.height(), 350);
    EXPECT_EQ(picture.pixel(450, 35), qRgb(0, 0, 255)) << "upper half: the opening colour";
    const CNdbRgba now = dialog.GetColor();
    EXPECT_EQ(picture.pixel(450, 65), qRgb(now.red, now.green, now.blue)) << "lower half: the new colour";
    const QRect hEdit = Widget(dialog.GetDlgItem(IdH))->geometry();
    EXPECT_EQ(hEdit.topLeft(), QPoint(354, 32));
    const QRect ok = Widget(dialog.GetDlgItem(IDOK))->geometry();
    const QRect help = Widget(dialog.GetDlgItem(IDC_HELP))->geometry();
    EXPECT_EQ(help.right() + 1, 500);
    EXPECT_EQ(ok.left(), 480 - 3 * help.width());
    EXPECT_EQ(ok.top(), 320);
    SaveArtifact(dialog, QStringLiteral("dialog_216_after_drag.png"));
}

TEST(DlgColorPicker, CancelLeavesTheCallersColourAndOkHandsOverTheNewOne)
{
    for (const int button : {IDCANCEL, IDOK})
    {
        CDlgColorPicker dialog;
        dialog.SetColor(Red);
        WhenModal(
            [&dialog, button]
            {
                TypeOver(Widget(dialog.GetDlgItem(IdHex)), QStringLiteral("00ff00"));
                QTest::mouseClick(Widget(dialog.GetDlgItem(button)), Qt::LeftButton);
            });
        EXPECT_EQ(dialog.DoModal(), button);
        const CNdbRgba typed(0, 255, 0);
        // A caller reads the colour only after OK; Cancel leaves its own colour untouched.
        if (button == IDOK)
        {
            EXPECT_EQ(dialog.GetColor(), typed);
        }
    }
}
