#include "dialogs/DlgPalette.h"
#include "ColorTestSupport.h"
#include "DialogTestSupport.h"
#include "dialogs/ColorBoxCtrl.h"
#include "ndb/NdbNewsletter.h"
#include "res/dialogs/Palette.h"
#include "res/dialogs/PaletteAddColor.h"

#include <QListWidget>
#include <QTemporaryDir>

using namespace ColorTest;
using namespace DialogTest;
using namespace ndb;

namespace
{
constexpr int IdList = IDC_LIST;
constexpr int IdAdd = IDC_ADD;
constexpr int IdEdit = IDC_EDIT;
constexpr int IdDelete = IDC_DELETE;
constexpr int IdMoveUp = IDC_MOVE_UP;
constexpr int IdMoveDown = IDC_MOVE_DOWN;
constexpr int IdName = IDC_NAME;

const QString OrganizerTitle = QStringLiteral("Organize Color Palette");
const QString AddTitle = QStringLiteral("Add Palette Color");
const QString EditTitle = QStringLiteral("Edit Color");
const QString NameExists = QStringLiteral("Name already exists");

CWnd* Item(QWidget* window, int id)
{
    return CWnd::FromHandle(window)->GetDlgItem(id);
}

QListWidget* List(QWidget* window)
{
    return qobject_cast<QListWidget*>(Widget(Item(window, IdList)));
}

void ClickRow(QWidget* window, int row)
{
    QListWidget* list = List(window);
    const QPoint at = list->visualItemRect(list->item(row)).center();
    SendMouse(list->viewport(), QEvent::MouseButtonPress, at);
    SendMouse(list->viewport(), QEvent::MouseButtonRelease, at);
}

void Click(QWidget* window, int id)
{
    QTest::mouseClick(Widget(Item(window, id)), Qt::LeftButton);
}

// Which of Edit, Delete, Move Up and Move Down are enabled, as four letters or dashes.
QString Buttons(QWidget* window)
{
    QString state;
    for (const auto& [id, letter] :
         {std::pair{IdEdit, 'E'}, {IdDelete, 'D'}, {IdMoveUp, 'U'}, {IdMoveDown, 'W'}})
        state += Item(window, id)->IsWindowEnabled() ? QLatin1Char(letter) : QLatin1Char('-');
    return state;
}

// The swatch over the name-and-colour dialog's placeholder, which keeps the placeholder's id.
CColorBoxCtrl* SwatchOf(QWidget* window)
{
    for (QWidget* child : window->findChildren<QWidget*>())
    {
        if (auto* swatch = dynamic_cast<CColorBoxCtrl*>(CWnd::FromHandle(child)))
            return swatch;
    }
    return nullptr;
}

QStringList Names(const CNdbPalette& palette)
{
    QStringList names;
    for (int i = 0; i < palette.GetColorCount(); ++i)
        names << palette.GetColorAt(i)->GetName();
    return names;
}

// A swatch showing a palette reference, drawn alone.
QImage SwatchPicture(CNdbPalette& palette, const QString& key)
{
    CWnd host;
    host.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 40, 40), nullptr, 0);
    CWnd placeholder;
    placeholder.Create(QString(), QString(), WS_CHILD, CRect(5, 5, 25, 25), &host, 1);
    CColorBoxCtrl swatch(&palette);
    swatch.CreateFromPlaceholder(&placeholder, 0);
    SetColorBoxColor(CNdbColor(key), &swatch);
    return Grab(swatch);
}
} // namespace

TEST(DlgPalette, EditsReachThePaletteAndSurviveSavingTheNewsletter)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("palette.kvnl"));
    CNdbNewsletter newsletter(QStringLiteral("Palette"));
    FillPalette(newsletter.Palette());
    const QImage skyAsSecond = SwatchPicture(newsletter.Palette(), SkyKey);

    // The view's Palette command: the organiser works on a copy, taken over after OK.
    CNdbPalette copy(newsletter.Palette());
    CDlgPalette organizer(&copy);
    QString opened;
    QString afterDelete;
    QString afterMove;
    QStringList rows;
    ModalScript script;
    script
        .ThenTitled(OrganizerTitle,
                    [&](QWidget* window)
                    {
                        opened = Buttons(window);
                        SaveArtifact(organizer, QStringLiteral("dialog_134.png"));
                        Click(window, IdAdd);
                        ClickRow(window, 0);
                        Click(window, IdEdit);
                        ClickRow(window, 2);
                        Click(window, IdDelete);
                        afterDelete = Buttons(window);
                        Click(window, IdMoveUp);
                        afterMove = Buttons(window);
                        for (int i = 0; i < List(window)->count(); ++i)
                            rows << List(window)->item(i)->text();
                        ClickButton(window, QStringLiteral("OK"));
                    })
        .ThenTitled(AddTitle,
                    [](QWidget* window)
                    {
                        TypeOver(Widget(Item(window, IdName)), QStringLiteral("Sky"));
                        ClickButton(window, QStringLiteral("OK"));
                    })
        .ThenShowing(NameExists, [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); })
        .ThenTitled(AddTitle,
                    [](QWidget* window)
                    {
                        EXPECT_EQ(Item(window, IdName)->GetWindowText(), QStringLiteral("Sky"));
                        TypeOver(Widget(Item(window, IdName)), QStringLiteral("sky"));
                        SaveArtifact(*CWnd::FromHandle(window), QStringLiteral("dialog_135.png"));
                        // The swatch of a palette entry opens the small grid: no "No Color", no palette.
                        SendMouse(Widget(SwatchOf(window)), QEvent::MouseButtonPress, QPoint(3, 3));
                        ClickButton(window, QStringLiteral("OK"));
                    })
        .Then([](QWidget* w) { return w->size() == QSize(256, 193); },
              [](QWidget* popup) { SendMouse(popup, QEvent::MouseButtonPress, CellCentre(100)); })
        .ThenTitled(EditTitle,
                    [](QWidget* window)
                    {
                        EXPECT_EQ(Item(window, IdName)->GetWindowText(), QStringLiteral("Brand"));
                        TypeOver(Widget(Item(window, IdName)), QStringLiteral("Paper"));
                        ClickButton(window, QStringLiteral("OK"));
                    })
        .ThenShowing(NameExists, [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); })
        .ThenTitled(EditTitle,
                    [](QWidget* window)
                    {
                        TypeOver(Widget(Item(window, IdName)), QStringLiteral("BRAND"));
                        ClickButton(window, QStringLiteral("OK"));
                    })
        .ThenShowing(QStringLiteral("Do you want to remove palette color:"),
                     [](QWidget* box)
                     {
                         EXPECT_TRUE(ShowsText(box, QStringLiteral("Paper")));
                         ClickButton(box, QStringLiteral("Yes"));
                     });
    script.Start();
    ASSERT_EQ(organizer.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(opened, QStringLiteral("----")) << "nothing is selected at first";
    EXPECT_EQ(afterDelete, QStringLiteral("EDU-")) << "the row now at the same place is selected";
    EXPECT_EQ(afterMove, QStringLiteral("EDUW"));
    EXPECT_EQ(rows, (QStringList{"BRAND", "sky", "Sky"}));

    newsletter.Palette() = copy;
    ASSERT_TRUE(newsletter.Save(path, QStringLiteral("Kelvora"), 2007, 2));
    CNdbNewsletter reopened;
    ASSERT_TRUE(reopened.Load(path));
    const CNdbPalette& saved = reopened.Palette();
    EXPECT_EQ(Names(saved), (QStringList{"BRAND", "sky", "Sky"}));
    ASSERT_EQ(saved.GetColorCount(), 3);
    EXPECT_EQ(saved.GetColorAt(0)->GetKey(), BrandKey) << "an edited entry keeps its key";
    EXPECT_EQ(saved.GetColorAt(0)->GetRgba(), CNdbRgba(12, 34, 56));
    EXPECT_EQ(saved.GetColorAt(1)->GetRgba(), CNdbRgba(102, 204, 204)) << "cell 100 of the grid";
    EXPECT_EQ(saved.GetColorAt(1)->GetKey().size(), 38) << "a new entry gets a GUID key";
    EXPECT_EQ(saved.GetColorAt(2)->GetKey(), SkyKey);
    EXPECT_FALSE(saved.FindColorByKey(PaperKey));

    // A swatch numbers a reference by its place: Sky moved from second to third.
    CNdbPalette skyThird;
    skyThird.AddColor(QStringLiteral("a"), QStringLiteral("{A}"), CNdbRgba(0, 0, 0));
    skyThird.AddColor(QStringLiteral("b"), QStringLiteral("{B}"), CNdbRgba(0, 0, 0));
    skyThird.AddColor(QStringLiteral("Sky"), SkyKey, CNdbRgba(102, 153, 204));
    EXPECT_EQ(SwatchPicture(reopened.Palette(), SkyKey), SwatchPicture(skyThird, SkyKey));
    EXPECT_NE(SwatchPicture(reopened.Palette(), SkyKey), skyAsSecond);
}

TEST(DlgPalette, CancelKeepsTheChangesAndDeletingTheOnlyRowLeavesNothingSelected)
{
    CNdbPalette palette;
    palette.AddColor(QStringLiteral("Only"), QStringLiteral("{ONLY}"), CNdbRgba(1, 2, 3));
    CDlgPalette organizer(&palette);
    QString buttons;
    ModalScript script;
    script
        .ThenTitled(OrganizerTitle,
                    [&](QWidget* window)
                    {
                        ClickRow(window, 0);
                        Click(window, IdDelete);
                        buttons = Buttons(window);
                        ClickButton(window, QStringLiteral("Cancel"));
                    })
        .ThenShowing(QStringLiteral("Only"), [](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); });
    script.Start();
    EXPECT_EQ(organizer.DoModal(), IDCANCEL);
    EXPECT_EQ(buttons, QStringLiteral("----"));
    EXPECT_EQ(palette.GetColorCount(), 0);
}
