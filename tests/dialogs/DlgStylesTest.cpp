#include "dialogs/DlgStyles.h"
#include "ColorTestSupport.h"
#include "ScreenPicture.h"
#include "StyleTestSupport.h"
#include "res/dialogs/PageStyle1.h"
#include "res/dialogs/PageStyle3.h"
#include "res/dialogs/PageStyle4.h"
#include "res/dialogs/StyleAdd.h"
#include "res/dialogs/StyleRename.h"
#include "res/dialogs/Styles.h"
#include "webserver/CssWriters.h"
#include "webserver/NewsletterPageSource.h"

using namespace ColorTest;
using namespace StyleTest;
using namespace ndb;

namespace
{
constexpr int IdList = IDC_STYLES_LIST;
constexpr int IdAdd = IDC_STYLES_ADD;
constexpr int IdRename = IDC_STYLES_RENAME;
constexpr int IdEdit = IDC_STYLES_EDIT;
constexpr int IdDelete = IDC_STYLES_DELETE;
constexpr int IdPreview = 4711;

const QString StylesTitle = QStringLiteral("Styles");

QTreeWidget* List(QWidget* window)
{
    return qobject_cast<QTreeWidget*>(Widget(Control(window, IdList)));
}

QStringList Rows(QWidget* window)
{
    QStringList rows;
    QTreeWidget* list = List(window);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + QLatin1Char('/') + list->topLevelItem(i)->text(1);
    return rows;
}

QString SelectedRow(QWidget* window)
{
    const QList<QTreeWidgetItem*> selected = List(window)->selectedItems();
    return selected.size() == 1 ? selected.front()->text(0) : QString();
}

void SelectRow(QWidget* window, const QString& name)
{
    QTreeWidget* list = List(window);
    const QList<QTreeWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    list->scrollToItem(found.front());
    const QPoint at = list->visualItemRect(found.front()).center();
    SendMouse(list->viewport(), QEvent::MouseButtonPress, at);
    SendMouse(list->viewport(), QEvent::MouseButtonRelease, at);
}

QWebEnginePage* PreviewPage(QWidget* window)
{
    auto* view = qobject_cast<QWebEngineView*>(Widget(Control(window, IdPreview)));
    return view ? view->page() : nullptr;
}

// Every field as text, to compare a style before and after.
QString FieldsText(const CNdbStyle& style)
{
    QString text;
    for (const auto& [id, value] : style.GetFields())
    {
        text += QStringLiteral("%1:%2:%3:%4:%5:%6;")
                    .arg(id)
                    .arg(value.GetType())
                    .arg(value.GetInt())
                    .arg(value.GetUnit())
                    .arg(value.GetString(), value.GetColor() ? value.GetColor()->ToText() : QString());
    }
    return text;
}

class Styles : public StyledNewsletter
{
};
} // namespace

TEST_F(Styles, AddCloneRenameRefuseAndDelete)
{
    CDlgStyles dialog(&context);
    QStringList opened;
    QString firstSelected;
    QString afterAdd;
    QString afterDelete;
    QStringList closing;
    ModalScript script;
    script
        .ThenTitled(
            StylesTitle,
            [&](QWidget* window)
            {
                opened = Rows(window);
                firstSelected = SelectedRow(window);
                Click(window, IdAdd);
                afterAdd = SelectedRow(window);
                SelectRow(window, QStringLiteral("Heading 1"));
                Click(window, IdAdd);
                SelectRow(window, QStringLiteral("Intro"));
                Click(window, IdRename);
                SelectRow(window, QStringLiteral("Normal"));
                Click(window, IdRename);
                Click(window, IdDelete);
                SelectRow(window, QStringLiteral("Quote"));
                Click(window, IdDelete);
                afterDelete = SelectedRow(window);
                closing = Rows(window);
                EXPECT_TRUE(QTest::qWaitFor(
                    [&] { return !Evaluate(PreviewPage(window), ParagraphStyleScript).isEmpty(); }, 10000));
                EXPECT_TRUE(AwaitPaintedPage(Widget(Control(window, IdPreview))));
                SaveArtifact(*CWnd::FromHandle(window), QStringLiteral("dialog_224.png"));
                ClickButton(window, QStringLiteral("Close"));
            })
        .ThenTitled(QStringLiteral("Add Style"),
                    [](QWidget* window)
                    {
                        EXPECT_FALSE(Control(window, IDC_STYLES)->IsWindowEnabled())
                            << "a blank style has no base";
                        TypeInto(window, IDC_NAME, QStringLiteral(" Intro "));
                        SaveArtifact(*CWnd::FromHandle(window), QStringLiteral("dialog_222.png"));
                        ClickButton(window, QStringLiteral("OK"));
                    })
        .ThenTitled(QStringLiteral("Add Style"),
                    [](QWidget* window)
                    {
                        Click(window, IDC_CLONE);
                        EXPECT_TRUE(Control(window, IDC_STYLES)->IsWindowEnabled());
                        EXPECT_EQ(Combo(window, IDC_STYLES)->currentText(), QStringLiteral("Heading 1"));
                        TypeInto(window, IDC_NAME, QStringLiteral("Heading Copy"));
                        ClickButton(window, QStringLiteral("OK"));
                    })
        .ThenTitled(QStringLiteral("Rename Style"),
                    [](QWidget* window)
                    {
                        EXPECT_EQ(Control(window, IDC_STYLE_RENAME_NAME)->GetWindowText(),
                                  QStringLiteral("Intro"));
                        TypeInto(window, IDC_STYLE_RENAME_NAME, QStringLiteral("  Intro Two "));
                        SaveArtifact(*CWnd::FromHandle(window), QStringLiteral("dialog_225.png"));
                        ClickButton(window, QStringLiteral("OK"));
                    })
        .ThenShowing(QStringLiteral("System Styles can't be renamed."),
                     [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); })
        .ThenShowing(QStringLiteral("System styles can't be deleted!"),
                     [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); })
        .ThenShowing(QStringLiteral("Are your sure to delete style Quote?"),
                     [](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); });
    script.Start();
    dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(dialog.IsModified());

    EXPECT_EQ(opened,
              (QStringList{"Boxed/No", "Heading 1/Yes", "Heading 2/Yes", "Heading 3/Yes", "Heading 4/Yes",
                           "Heading 5/Yes", "Heading 6/Yes", "Normal/Yes", "Quote/No"}));
    EXPECT_EQ(firstSelected, QStringLiteral("Boxed"));
    EXPECT_EQ(afterAdd, QStringLiteral("Intro")) << "the new style is selected where the sorted list put it";
    EXPECT_EQ(afterDelete, QStringLiteral("Normal")) << "the row above the deleted one";
    EXPECT_TRUE(closing.contains(QStringLiteral("  Intro Two /No")));
    EXPECT_TRUE(closing.contains(QStringLiteral("Heading Copy/No")));
    EXPECT_FALSE(closing.contains(QStringLiteral("Quote/No")));

    const CNdbStyle* intro = FindStyle(*newsletter, QStringLiteral("  Intro Two "));
    ASSERT_TRUE(intro) << "Rename keeps the name as typed, Add trimmed it";
    EXPECT_EQ(intro->GetString(StyleRuleName), QStringLiteral("c5"));
    const CNdbStyle* copy = FindStyle(*newsletter, QStringLiteral("Heading Copy"));
    const CNdbStyle* heading = FindStyle(*newsletter, QStringLiteral("Heading 1"));
    ASSERT_TRUE(copy && heading);
    EXPECT_EQ(copy->GetString(StyleRuleName), QStringLiteral("c6"));
    CNdbFieldValue flag;
    EXPECT_FALSE(copy->GetField(StyleElementFlag, flag)) << "a clone of a system style is a class style";
    CNdbStyle expected;
    expected = *heading;
    expected.RemoveField(StyleElementFlag);
    expected.SetField(StyleDisplayName, CNdbFieldValue(QStringLiteral("Heading Copy")));
    expected.SetField(StyleRuleName, CNdbFieldValue(QStringLiteral("c6")));
    EXPECT_EQ(FieldsText(*copy), FieldsText(expected));
    EXPECT_EQ(newsletter->GetInt(NewsletterLastClassStyle, 0), 6);
    EXPECT_FALSE(FindStyle(*newsletter, QStringLiteral("Quote")));
    EXPECT_TRUE(FindStyle(*newsletter, QStringLiteral("Normal")));
}

TEST_F(Styles, EditedNormalStyleReachesThePreviewAndTheServedPage)
{
    const QString wanted = QStringLiteral("rgb(0, 0, 255)|18.6667px|solid 3px|none|2px");
    std::vector<int> expectedIds = FieldIds(*FindStyle(*newsletter, QStringLiteral("Normal")));
    for (int id : {210, 400, 700, 710, 720, 730, 740, 750, 760, 770, 780, 790, 800, 810, 9999})
        expectedIds.push_back(id);
    std::sort(expectedIds.begin(), expectedIds.end());
    expectedIds.erase(std::unique(expectedIds.begin(), expectedIds.end()), expectedIds.end());
    CDlgStyles dialog(&context);
    QString previewStyle;
    ModalScript script;
    script
        .ThenTitled(StylesTitle,
                    [&](QWidget* window)
                    {
                        SelectRow(window, QStringLiteral("Normal"));
                        Click(window, IdEdit);
                        previewStyle = WaitForParagraphStyle(PreviewPage(window), wanted);
                        ClickButton(window, QStringLiteral("Close"));
                    })
        .ThenTitled(QStringLiteral("Style - Normal"),
                    [](QWidget* sheet)
                    {
                        SendMouse(Widget(Swatch(sheet, IDC_TEXT_COLOR)), QEvent::MouseButtonPress,
                                  QPoint(3, 3));
                        TypeInto(sheet, IDC_SIZE, QStringLiteral("14"));
                        ShowPage(sheet, 2);
                        Click(sheet, IDC_DEFAULT_BORDER);
                        for (int id : {IDC_TOP_BORDER_STYLE, IDC_LEFT_BORDER_STYLE, IDC_RIGHT_BORDER_STYLE})
                            Choose(sheet, id, QStringLiteral("None"));
                        TypeInto(sheet, IDC_BOTTOM_BORDER_WIDTH, QStringLiteral("3"));
                        ShowPage(sheet, 3);
                        TypeInto(sheet, IDC_CUSTOM_SETTINGS, QStringLiteral("letter-spacing:2px;"));
                        ClickButton(sheet, QStringLiteral("OK"));
                    })
        .Then([](QWidget* w) { return w->size() == QSize(256, 506); },
              [](QWidget* popup) { SendMouse(popup, QEvent::MouseButtonPress, CellCentre(5)); });
    script.Start();
    dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(dialog.IsModified());
    EXPECT_EQ(previewStyle, wanted) << "the dialog's preview";

    const CNdbStyle* normal = FindStyle(*newsletter, QStringLiteral("Normal"));
    ASSERT_TRUE(normal);
    EXPECT_EQ(FieldIds(*normal), expectedIds) << "the pages wrote only what was changed";
    CNdbFieldValue size;
    ASSERT_TRUE(normal->GetField(StyleFontSize, size));
    EXPECT_EQ(size.FormatLength(), QStringLiteral("14pt"));
    EXPECT_EQ(normal->GetString(StyleFreeCss), QStringLiteral("letter-spacing:2px;"));

    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    bool loaded = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool ok) { loaded = ok; });
    page.load(QUrl(context.MakeServerUrl(FileName)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded; }, 60000));
    const QString css = Evaluate(&page, QStringLiteral("document.querySelector('style').textContent"));
    for (const char* declaration :
         {".normal, p {", "color:#0000FF;", "font-size:14pt;", "border-bottom-width:3px;",
          "border-bottom-style:solid;", "letter-spacing:2px;"})
        EXPECT_TRUE(css.contains(QLatin1String(declaration))) << declaration;
    EXPECT_EQ(WaitForParagraphStyle(&page, wanted), wanted) << "the served page";
}

TEST_F(Styles, CancelChangesNothingAndAnUntouchedOkKeepsEveryField)
{
    CNdbStyle* quote = FindStyle(*newsletter, QStringLiteral("Quote"));
    quote->SetField(StyleFontSize, CNdbFieldValue(10.5f, NdbUnitPt));
    quote->SetField(StyleLineHeight, CNdbFieldValue(0.4f, NdbUnitEm));
    quote->SetField(StyleMarginTop, CNdbFieldValue(10.0f, NdbUnitPx));
    quote->SetField(StyleMarginBottom, CNdbFieldValue(1.5f, NdbUnitEm));
    quote->SetField(StyleBorderRightColor, CNdbFieldValue(CNdbColor(SkyKey)));
    quote->SetField(StyleBackgroundPositionXLength, CNdbFieldValue(2.5f, NdbUnitMm));
    const QString before = FieldsText(*quote);

    for (const QString& button : {QStringLiteral("Cancel"), QStringLiteral("OK")})
    {
        CDlgStyles dialog(&context);
        ModalScript script;
        script
            .ThenTitled(StylesTitle,
                        [&](QWidget* window)
                        {
                            SelectRow(window, QStringLiteral("Quote"));
                            Click(window, IdEdit);
                            ClickButton(window, QStringLiteral("Close"));
                        })
            .ThenTitled(QStringLiteral("Style - Quote"),
                        [&](QWidget* sheet)
                        {
                            for (int page = 1; page < 4; ++page)
                                ShowPage(sheet, page);
                            ShowPage(sheet, 0);
                            if (button == QStringLiteral("Cancel"))
                            {
                                TypeInto(sheet, IDC_SIZE, QStringLiteral("30"));
                                ShowPage(sheet, 2);
                                Click(sheet, IDC_DEFAULT_BORDER);
                            }
                            ClickButton(sheet, button);
                        });
        script.Start();
        dialog.DoModal();
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(FieldsText(*quote), before) << button.toStdString();
        EXPECT_EQ(dialog.IsModified(), button == QStringLiteral("OK"));
    }
}

TEST_F(Styles, AnArrowKeyMovesTheSelectionAndThePreviewFollowsIt)
{
    CDlgStyles dialog(&context);
    QString selected;
    QString previewed;
    ModalScript script;
    script.ThenTitled(StylesTitle,
                      [&](QWidget* window)
                      {
                          SelectRow(window, QStringLiteral("Heading 1"));
                          QTest::keyClick(List(window), Qt::Key_Down);
                          selected = SelectedRow(window);
                          const QString script =
                              QStringLiteral("document.querySelector('p').getAttribute('style')");
                          const CNdbStyle* heading2 = FindStyle(*newsletter, QStringLiteral("Heading 2"));
                          QString css;
                          const CNewsletterPageSource source(*newsletter);
                          CPageContext pageContext;
                          pageContext.SetCurrentNewsletter(&source);
                          WriteRecordCss(css, heading2, &pageContext);
                          css.replace(QLatin1Char('"'), QLatin1Char('\''));
                          std::ignore = QTest::qWaitFor(
                              [&]
                              {
                                  previewed = Evaluate(PreviewPage(window), script);
                                  return previewed == css;
                              },
                              10000);
                          EXPECT_EQ(previewed, css);
                          ClickButton(window, QStringLiteral("Close"));
                      });
    script.Start();
    dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(selected, QStringLiteral("Heading 2"));
    EXPECT_FALSE(dialog.IsModified());
}
