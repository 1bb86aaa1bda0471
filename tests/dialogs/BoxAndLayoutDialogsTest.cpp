#include "ColorTestSupport.h"
#include "DialogLayoutCheck.h"
#include "QueuedEvents.h"
#include "StyleTestSupport.h"
#include "controls/KVPropertySheet.h"
#include "dialogs/DlgHtmlLayoutProperties.h"
#include "dialogs/PageHtmlBox1.h"
#include "dialogs/PageHtmlBox2.h"
#include "dialogs/PageHtmlBox3.h"
#include "effects/BackgroundImageToolsInstall.h"
#include "ndb/NdbResource.h"
#include "platform/core/AppStrings.h"
#include "res/dialogs/HtmlLayoutProperties.h"
#include "res/dialogs/PageHtmlBox1.h"
#include "res/dialogs/PageHtmlBox2.h"
#include "res/dialogs/PageHtmlBox3.h"

#include <QTemporaryDir>

using namespace ColorTest;
using namespace StyleTest;
using namespace ndb;

namespace
{
const QString ImageKey = QStringLiteral("{0B7A1E52-0000-4000-8000-0000000000A1}");

enum BoxPage
{
    TypeAndSizePage = 0,
    LayoutPage = 1,
    BackgroundPage = 2,
};

QString Length(const CNdbStyle& style, int id)
{
    CNdbFieldValue value;
    if (!style.GetField(id, value))
        return QStringLiteral("absent");
    return value.FormatLength() + (value.GetUnit() == NdbUnitNone ? QStringLiteral("?") : QString());
}

// Every field of a record as text, to tell whether anything changed.
QString Fields(const CNdbStyle& style)
{
    QString text;
    for (const auto& [id, value] : style.GetFields())
    {
        text += QString::number(id) + QLatin1Char('=');
        if (value.GetType() == NdbValueLength)
            text += value.FormatLength() + QLatin1Char('/') + QString::number(value.GetUnit());
        else if (value.GetType() == NdbValueColor)
            text += value.GetColor() ? value.GetColor()->ToText() : QString();
        else if (value.GetType() == NdbValueText)
            text += value.GetString();
        else
            text += QString::number(value.GetInt());
        text += QLatin1Char(';');
    }
    return text;
}

bool Checked(QWidget* window, int id)
{
    return qobject_cast<QAbstractButton*>(Widget(Control(window, id)))->isChecked();
}

bool Enabled(QWidget* window, int id)
{
    return Control(window, id)->IsWindowEnabled();
}

// Picks a cell of the popup grid of the swatch as the user does.
void PickSwatchCell(CColorBoxCtrl* swatch, int cell)
{
    WhenModalAfter(
        QApplication::activeModalWidget(),
        [cell] { SendMouse(QApplication::activeModalWidget(), QEvent::MouseButtonPress, CellCentre(cell)); });
    SendMouse(swatch->GetSafeHwnd(), QEvent::MouseButtonPress, QPoint(5, 5));
    AwaitQueuedEvents();
}

class BoxAndLayoutDialogs : public StyledNewsletter
{
protected:
    void SetUp() override
    {
        StyledNewsletter::SetUp();
        FillPalette(newsletter->Palette());
        auto image = std::make_unique<CNdbResource>();
        image->SetField(ResourceId, CNdbFieldValue(ImageKey));
        image->SetField(ResourceFileName, CNdbFieldValue(QStringLiteral("paper.png")));
        image->SetField(ResourcePath, CNdbFieldValue(QStringLiteral("img/paper.png")));
        newsletter->Layout().AddResource(std::move(image));
    }

    // Runs the page layout dialog on the record; the steps run in it.
    bool EditLayout(CNdbStyle& record, std::function<void(QWidget*)> steps, ModalScript* script = nullptr)
    {
        CDlgHtmlLayoutProperties dialog(&context, &record);
        ModalScript own;
        ModalScript& used = script ? *script : own;
        used.Then([](QWidget* w) { return w->windowTitle() == QStringLiteral("Layout Properties"); },
                  std::move(steps));
        used.Start();
        const bool ok = dialog.DoModal() == IDOK;
        EXPECT_TRUE(used.Finished());
        return ok;
    }

    // Runs the box sheet on the record as the editor does.
    bool EditBox(CNdbStyle& record, std::function<void(QWidget*)> steps)
    {
        CKVPropertySheet sheet(LoadAppString(3003));
        sheet.UseProgramButtonCaptions();
        CPageHtmlBox1 first(&record);
        CPageHtmlBox2 second(&record);
        CPageHtmlBox3 third(&context, &record);
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        sheet.AddPage(&third);
        ModalScript script;
        script.ThenTitled(QStringLiteral("Box Properties"), std::move(steps));
        script.Start();
        const bool ok = sheet.DoModal() == IDOK;
        EXPECT_TRUE(script.Finished());
        return ok;
    }
};

// A page style as a newsletter may hold it: margins in two units with a fraction, a background
// image with a custom position in an odd unit, a 100px height and link states partly set.
CNdbStyle RichPageStyle()
{
    CNdbStyle style;
    style.SetField(StyleTextAlign, CNdbFieldValue(NdbValueTextAlign, 1));
    style.SetField(StyleMarginTop, CNdbFieldValue(1.5f, NdbUnitEm));
    style.SetField(StyleMarginLeft, CNdbFieldValue(12.0f, NdbUnitPx));
    style.SetField(StyleBackgroundImage, CNdbFieldValue(ImageKey));
    style.SetField(StyleBackgroundPositionX, CNdbFieldValue(NdbValueBackgroundPositionX, 3));
    style.SetField(StyleBackgroundPositionXLength, CNdbFieldValue(2.5f, NdbUnitNone));
    style.SetField(StyleHeight, CNdbFieldValue(100.0f, NdbUnitPx));
    style.SetField(StyleLinkColor, CNdbFieldValue(CNdbColor(SkyKey)));
    return style;
}
} // namespace

// Opening a dialog and pressing OK leaves the record exactly as it was: fractions, units the
// lists do not know, sides in different units and absent fields.
TEST_F(BoxAndLayoutDialogs, AnUntouchedOkChangesNothing)
{
    CNdbStyle page = RichPageStyle();
    const QString before = Fields(page);
    int marginUnit = 0;
    int positionUnit = 0;
    EXPECT_TRUE(EditLayout(page,
                           [&](QWidget* dialog)
                           {
                               marginUnit = Combo(dialog, IDC_MARGIN_UNIT)->currentIndex();
                               positionUnit = Combo(dialog, IDC_BACKGROUND_POS_X_UNIT)->currentIndex();
                               ClickButton(dialog, QStringLiteral("OK"));
                           }));
    EXPECT_EQ(marginUnit, -1) << "sides in different units show no unit";
    EXPECT_EQ(positionUnit, -1) << "a unit the list does not have";
    EXPECT_EQ(Fields(page), before);

    CNdbStyle box = RichPageStyle();
    box.SetField(StyleHeight, CNdbFieldValue(50.0f, NdbUnitPercent));
    box.SetField(StyleWidth, CNdbFieldValue(3.0f, NdbUnitEm));
    box.SetField(StylePosition, CNdbFieldValue(NdbValuePosition, 1));
    box.SetField(StyleBorderTopWidth, CNdbFieldValue(0.5f, NdbUnitMm));
    box.SetField(StyleBorderLeftWidth, CNdbFieldValue(2.0f, NdbUnitPx));
    const QString boxBefore = Fields(box);
    EXPECT_TRUE(EditBox(box,
                        [](QWidget* sheet)
                        {
                            ShowPage(sheet, LayoutPage);
                            ShowPage(sheet, BackgroundPage);
                            ClickButton(sheet, QStringLiteral("OK"));
                        }));
    EXPECT_EQ(Fields(box), boxBefore);
}

// The margins of the page: the default check removes all four; clearing it writes all four in
// the chosen unit; a typed side takes the list's unit while the others keep their own.
TEST_F(BoxAndLayoutDialogs, PageMarginsAndTheirUnits)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<int, CNdbFieldValue>> stored;
        std::function<void(QWidget*)> steps;
        QStringList expected; // top, bottom, left, right
    };
    const std::vector<Case> cases = {
        {"default removes all",
         {{StyleMarginTop, CNdbFieldValue(4.0f, NdbUnitPx)},
          {StyleMarginRight, CNdbFieldValue(1.5f, NdbUnitEm)}},
         [](QWidget* d) { Click(d, IDC_DEFAULT_MARGINS); },
         {"absent", "absent", "absent", "absent"}},
        {"cleared default writes four zeros in pt",
         {},
         [](QWidget* d)
         {
             Click(d, IDC_DEFAULT_MARGINS);
             Choose(d, IDC_MARGIN_UNIT, QStringLiteral("pt"));
         },
         {"0", "0", "0", "0"}},
        {"a typed side in mixed units",
         {{StyleMarginTop, CNdbFieldValue(1.5f, NdbUnitEm)},
          {StyleMarginBottom, CNdbFieldValue(3.0f, NdbUnitPx)}},
         [](QWidget* d) { TypeInto(d, IDC_LEFT_MARGIN, QStringLiteral("7")); },
         {"1.5em", "3px", "7px", "0"}},
        {"a new unit for sides left alone",
         {{StyleMarginTop, CNdbFieldValue(2.0f, NdbUnitPx)},
          {StyleMarginBottom, CNdbFieldValue(2.0f, NdbUnitPx)}},
         [](QWidget* d) { Choose(d, IDC_MARGIN_UNIT, QStringLiteral("mm")); },
         {"2mm", "2mm", "0", "0"}},
    };
    for (const Case& test : cases)
    {
        CNdbStyle page;
        for (const auto& [id, value] : test.stored)
            page.SetField(id, value);
        EXPECT_TRUE(EditLayout(page,
                               [&](QWidget* dialog)
                               {
                                   test.steps(dialog);
                                   ClickButton(dialog, QStringLiteral("OK"));
                               }));
        const QStringList got = {Length(page, StyleMarginTop), Length(page, StyleMarginBottom),
                                 Length(page, StyleMarginLeft), Length(page, StyleMarginRight)};
        EXPECT_EQ(got, test.expected) << test.name;
    }
}

// Links, scrolling, alignment and full height of the page, each changed by the user.
TEST_F(BoxAndLayoutDialogs, PageLinksScrollingAndHeight)
{
    CNdbStyle page = RichPageStyle();
    page.SetField(StyleVisitedLinkDecoration, CNdbFieldValue(NdbValueInt, 2));
    bool visitedShownUnderlined = false;
    bool scrollingEnabled = false;
    bool fullHeightShown = true;
    EXPECT_TRUE(EditLayout(page,
                           [&](QWidget* dialog)
                           {
                               visitedShownUnderlined = Checked(dialog, IDC_VISITED_CHECK);
                               scrollingEnabled = Enabled(dialog, IDC_SCROLLING);
                               fullHeightShown = Checked(dialog, IDC_FULL_HEIGHT);
                               Click(dialog, IDC_NORMAL_CHECK);  // underline normal links
                               Click(dialog, IDC_VISITED_CHECK); // no longer visited ones
                               PickSwatchCell(Swatch(dialog, IDC_HOVER_FRAME), 24);
                               Choose(dialog, IDC_SCROLLING, QStringLiteral("No"));
                               Choose(dialog, IDC_ALIGNMENT, QStringLiteral("Default"));
                               Click(dialog, IDC_FULL_HEIGHT);
                               ClickButton(dialog, QStringLiteral("OK"));
                           }));
    EXPECT_TRUE(visitedShownUnderlined);
    EXPECT_TRUE(scrollingEnabled) << "the page has a background image";
    EXPECT_FALSE(fullHeightShown) << "100px is not the full height";
    EXPECT_EQ(page.GetInt(StyleLinkDecoration, -1), 2);
    EXPECT_EQ(page.GetInt(StyleVisitedLinkDecoration, -1), 1);
    CNdbFieldValue value;
    ASSERT_TRUE(page.GetField(StyleHoverLinkColor, value));
    EXPECT_EQ(*value.GetColor(), CNdbColor(0, 204, 0));
    ASSERT_TRUE(page.GetField(StyleLinkColor, value));
    EXPECT_EQ(*value.GetColor(), CNdbColor(SkyKey)) << "a palette reference stays one";
    EXPECT_EQ(page.GetInt(StyleBackgroundAttachment, -1), 1) << "\"No\" keeps the background fixed";
    EXPECT_FALSE(page.GetField(StyleTextAlign, value));
    EXPECT_EQ(Length(page, StyleHeight), QStringLiteral("100%"));
}

// The background section: without an image only the colour and Browse are usable; "Custom"
// enables the position's number and unit; Remove takes the image and its effect after asking.
TEST_F(BoxAndLayoutDialogs, BackgroundImagePositionAndRemove)
{
    CNdbStyle plain;
    bool tilingEnabled = true;
    EXPECT_TRUE(EditBox(plain,
                        [&](QWidget* sheet)
                        {
                            ShowPage(sheet, BackgroundPage);
                            tilingEnabled = Enabled(sheet, IDC_BACKGROUND_TILING) ||
                                            Enabled(sheet, IDC_BACKGROUND_POS_X_VALUE) ||
                                            Enabled(sheet, IDC_BACKGROUND_REMOVE);
                            PickSwatchCell(Swatch(sheet, IDC_BACKGROUND_COLOR), 5);
                            ClickButton(sheet, QStringLiteral("OK"));
                        }));
    EXPECT_FALSE(tilingEnabled);
    CNdbFieldValue value;
    ASSERT_TRUE(plain.GetField(StyleBackgroundColor, value));
    EXPECT_EQ(value.GetColor()->GetKind(), NdbColorFixed);
    EXPECT_FALSE(plain.GetField(StyleBackgroundPositionXLength, value))
        << "an untouched position adds nothing";

    CNdbStyle papered;
    papered.SetField(StyleBackgroundImage, CNdbFieldValue(ImageKey));
    papered.SetField(StyleBackgroundPipeline, CNdbFieldValue(QStringLiteral("fx1")));
    papered.SetField(StyleBackgroundPositionY, CNdbFieldValue(NdbValueBackgroundPositionY, 1));
    QString name;
    std::vector<bool> valueEnabled;
    EXPECT_TRUE(EditBox(papered,
                        [&](QWidget* sheet)
                        {
                            ShowPage(sheet, BackgroundPage);
                            name = Control(sheet, IDC_BACKGROUND_IMAGE_NAME)->GetWindowText();
                            valueEnabled.push_back(Enabled(sheet, IDC_BACKGROUND_POS_X_VALUE));
                            Choose(sheet, IDC_BACKGROUND_POS_X, QStringLiteral("Custom"));
                            valueEnabled.push_back(Enabled(sheet, IDC_BACKGROUND_POS_X_VALUE) &&
                                                   Enabled(sheet, IDC_BACKGROUND_POS_X_UNIT));
                            TypeInto(sheet, IDC_BACKGROUND_POS_X_VALUE, QStringLiteral("-15"));
                            Choose(sheet, IDC_BACKGROUND_POS_X_UNIT, QStringLiteral("%"));
                            Choose(sheet, IDC_BACKGROUND_POS_X, QStringLiteral("Left"));
                            valueEnabled.push_back(Enabled(sheet, IDC_BACKGROUND_POS_X_VALUE));
                            Choose(sheet, IDC_BACKGROUND_POS_X, QStringLiteral("Custom"));
                            WhenModalAfter(
                                sheet, []
                                { ClickButton(QApplication::activeModalWidget(), QStringLiteral("Yes")); });
                            Click(sheet, IDC_BACKGROUND_REMOVE);
                            valueEnabled.push_back(Enabled(sheet, IDC_BACKGROUND_REMOVE));
                            ClickButton(sheet, QStringLiteral("OK"));
                        }));
    EXPECT_EQ(name, QStringLiteral("paper.png"));
    EXPECT_EQ(valueEnabled, (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(papered.GetInt(StyleBackgroundPositionX, -1), 3);
    EXPECT_EQ(Length(papered, StyleBackgroundPositionXLength), QStringLiteral("-15%"));
    EXPECT_EQ(papered.GetInt(StyleBackgroundPositionY, -1), 1) << "untouched";
    EXPECT_TRUE(papered.GetString(StyleBackgroundImage).isEmpty());
    EXPECT_TRUE(papered.GetString(StyleBackgroundPipeline).isEmpty()) << "the effect goes with its image";
}

// The Type & Size page: what a record opens as, and what the user's changes store.
TEST_F(BoxAndLayoutDialogs, BoxTypeAndSize)
{
    struct Shown
    {
        QString width;
        QString widthUnit;
        bool widthFixed;
        bool freeFloating;
        QString zIndex;
        QString wrapping;
        bool forceNewLine;
    };
    const auto shown = [](QWidget* sheet)
    {
        return Shown{Control(sheet, IDC_WIDTH)->GetWindowText(),
                     Combo(sheet, IDC_WIDTH_FIXED_UNIT)->currentText(),
                     Checked(sheet, IDC_WIDTH_FIXED),
                     Checked(sheet, IDC_FREE_FLOATING),
                     Control(sheet, IDC_Z_INDEX)->GetWindowText(),
                     Combo(sheet, IDC_WRAPPING)->currentText(),
                     Checked(sheet, IDC_FORCE_NEW_LINE)};
    };

    // A new box as the editor presets it.
    CNdbStyle fresh;
    fresh.SetField(StyleWidth, CNdbFieldValue(100.0f, NdbUnitPercent));
    fresh.SetField(StyleZIndex, CNdbFieldValue(NdbValueInt, 10));
    Shown first{};
    EXPECT_TRUE(EditBox(fresh,
                        [&](QWidget* sheet)
                        {
                            first = shown(sheet);
                            Click(sheet, IDC_FREE_FLOATING);       // free floating
                            Click(sheet, IDC_BOTTOM_SIDE_DEFAULT); // bottom no longer default
                            TypeInto(sheet, IDC_BOTTOM, QStringLiteral("20"));
                            Choose(sheet, IDC_BOTTOM_SIDE_UNIT, QStringLiteral("%"));
                            Click(sheet, IDC_WIDTH_FIXED);
                            TypeInto(sheet, IDC_WIDTH, QStringLiteral("300"));
                            Choose(sheet, IDC_WIDTH_FIXED_UNIT, QStringLiteral("pixels"));
                            Choose(sheet, IDC_OVERFLOW, QStringLiteral("Scroller (if needed)"));
                            ClickButton(sheet, QStringLiteral("OK"));
                        }));
    EXPECT_EQ(first.width, QStringLiteral("100"));
    EXPECT_EQ(first.widthUnit, QStringLiteral("%"));
    EXPECT_FALSE(first.widthFixed) << "100 % is the default width";
    EXPECT_FALSE(first.freeFloating);
    EXPECT_EQ(first.zIndex, QStringLiteral("10"));
    EXPECT_EQ(first.wrapping, QStringLiteral("Default"));
    EXPECT_EQ(fresh.GetInt(StylePosition, -1), 2);
    EXPECT_EQ(Length(fresh, StyleBottom), QStringLiteral("20%"));
    EXPECT_EQ(Length(fresh, StyleTop), QStringLiteral("absent"));
    EXPECT_EQ(Length(fresh, StyleWidth), QStringLiteral("300px"));
    EXPECT_EQ(fresh.GetInt(StyleOverflow, -1), 1);

    // A box floating right below floats, 3em wide and 50 % high, made in line again.
    CNdbStyle stored;
    stored.SetField(StyleWidth, CNdbFieldValue(3.0f, NdbUnitEm));
    stored.SetField(StyleHeight, CNdbFieldValue(50.0f, NdbUnitPercent));
    stored.SetField(StyleFloat, CNdbFieldValue(NdbValueFloatKeyword, 2));
    stored.SetField(StyleClear, CNdbFieldValue(NdbValueClear, 3));
    stored.SetField(StylePosition, CNdbFieldValue(NdbValuePosition, 2));
    stored.SetField(StyleTop, CNdbFieldValue(5.0f, NdbUnitPx));
    Shown second{};
    bool heightEnabled = false;
    EXPECT_TRUE(EditBox(stored,
                        [&](QWidget* sheet)
                        {
                            second = shown(sheet);
                            heightEnabled = Enabled(sheet, IDC_HEIGHT);
                            Click(sheet, IDC_TOP_SIDE_DEFAULT); // top back to default
                            Click(sheet, IDC_IN_LINE);          // in line with text
                            Choose(sheet, IDC_WRAPPING, QStringLiteral("Default"));
                            Click(sheet, IDC_FORCE_NEW_LINE); // no longer forced to a new line
                            ClickButton(sheet, QStringLiteral("OK"));
                        }));
    EXPECT_EQ(second.width, QStringLiteral("3"));
    EXPECT_TRUE(second.widthFixed);
    EXPECT_EQ(second.widthUnit, QString()) << "em is not in the short list";
    EXPECT_TRUE(second.freeFloating);
    EXPECT_TRUE(second.forceNewLine);
    EXPECT_TRUE(heightEnabled);
    EXPECT_EQ(Length(stored, StyleWidth), QStringLiteral("3em"));
    EXPECT_EQ(Length(stored, StyleHeight), QStringLiteral("50%"));
    EXPECT_EQ(stored.GetInt(StyleFloat, -1), 0) << "\"Default\" wrapping stores no float";
    EXPECT_EQ(stored.GetInt(StyleClear, -1), -1);
    EXPECT_EQ(stored.GetInt(StylePosition, -1), -1);
    EXPECT_EQ(Length(stored, StyleTop), QStringLiteral("absent"));
}

// The Layout and borders of a box: padding and margins by their checks, borders in one unit.
TEST_F(BoxAndLayoutDialogs, BoxPaddingAndBorders)
{
    CNdbStyle box;
    box.SetField(StyleBorderBottomColor, CNdbFieldValue(CNdbColor(SkyKey)));
    bool defaultBorder = true;
    bool bottomSwatchEnabled = false;
    EXPECT_TRUE(EditBox(box,
                        [&](QWidget* sheet)
                        {
                            ShowPage(sheet, LayoutPage);
                            Click(sheet, IDC_DEFAULT_PADDING);
                            TypeInto(sheet, IDC_TOP_PADDING, QStringLiteral("6"));
                            Choose(sheet, IDC_ALIGNMENT, QStringLiteral("Justify"));
                            ShowPage(sheet, BackgroundPage);
                            defaultBorder = Checked(sheet, IDC_DEFAULT_BORDER);
                            bottomSwatchEnabled = Swatch(sheet, IDC_BOTTOM_BORDER_COLOR)->IsWindowEnabled();
                            TypeInto(sheet, IDC_BOTTOM_BORDER_WIDTH, QStringLiteral("3"));
                            Choose(sheet, IDC_BOTTOM_BORDER_STYLE, QStringLiteral("Dashed"));
                            ClickButton(sheet, QStringLiteral("OK"));
                        }));
    EXPECT_FALSE(defaultBorder) << "one border field clears the default";
    EXPECT_TRUE(bottomSwatchEnabled);
    EXPECT_EQ(Length(box, StylePaddingTop), QStringLiteral("6px"));
    EXPECT_EQ(Length(box, StylePaddingLeft), QStringLiteral("0"));
    EXPECT_EQ(Length(box, StyleMarginTop), QStringLiteral("absent"));
    EXPECT_EQ(box.GetInt(StyleTextAlign, -1), 3);
    EXPECT_EQ(Length(box, StyleBorderBottomWidth), QStringLiteral("3px"));
    EXPECT_EQ(Length(box, StyleBorderTopWidth), QStringLiteral("1px"));
    EXPECT_EQ(box.GetInt(StyleBorderBottomStyle, -1), 3);
    EXPECT_EQ(box.GetInt(StyleBorderTopStyle, -1), 4);
    CNdbFieldValue color;
    ASSERT_TRUE(box.GetField(StyleBorderBottomColor, color));
    EXPECT_EQ(*color.GetColor(), CNdbColor(SkyKey));
    ASSERT_TRUE(box.GetField(StyleBorderTopColor, color));
    EXPECT_EQ(color.GetColor()->GetKind(), NdbColorNone) << "an empty swatch stores no colour";
}

// Pictures of the page layout dialog and of the three box pages, each checked to keep its
// controls inside, apart and with their captions whole.
TEST_F(BoxAndLayoutDialogs, PicturesOfTheDialogsWithTheirControlsInPlace)
{
    CNdbStyle page = RichPageStyle();
    QStringList faults;
    EditLayout(page,
               [&](QWidget* dialog)
               {
                   AwaitQueuedEvents();
                   dialog->grab().save(ArtifactPath(QStringLiteral("layout_properties_212.png")));
                   faults << LayoutFaults(dialog);
                   ClickButton(dialog, QStringLiteral("Cancel"));
               });
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();

    CNdbStyle box = RichPageStyle();
    faults.clear();
    EditBox(box,
            [&](QWidget* sheet)
            {
                for (int index = TypeAndSizePage; index <= BackgroundPage; ++index)
                {
                    ShowPage(sheet, index);
                    AwaitQueuedEvents();
                    sheet->grab().save(ArtifactPath(QStringLiteral("box_page_%1.png").arg(193 + index)));
                    for (QWidget* child : sheet->findChildren<QWidget*>())
                    {
                        CWnd* wnd = CWnd::FromHandle(child);
                        auto* page = dynamic_cast<CPropertyPage*>(wnd);
                        if (page && child->isVisible())
                            faults << LayoutFaults(child);
                    }
                }
                ClickButton(sheet, QStringLiteral("Cancel"));
            });
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

// Browse asks first, then adds the chosen picture to the layout; a file without a picture is
// named and left out. Image Effects stores the key of the edited effect, Cancel keeps the old.
TEST_F(BoxAndLayoutDialogs, BrowseAndImageEffects)
{
    InstallBackgroundImageTools();
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("waves.png"));
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(picture));
    const QString fake = folder.filePath(QStringLiteral("page.png"));
    QFile html(fake);
    ASSERT_TRUE(html.open(QIODevice::WriteOnly));
    html.write("<html><body>not a picture</body></html>");
    html.close();
    const auto choose = [](const QString& path)
    { return [path](QWidget* dialog) { ChooseFiles(dialog, {path}); }; };
    const auto isWarning = [](QWidget* w)
    { return ShowsText(w, QStringLiteral("Do you still wish to proceed?")); };
    const std::size_t resources = newsletter->Layout().Resources().size();

    CNdbStyle box;
    box.SetField(StyleBackgroundPipeline, CNdbFieldValue(QStringLiteral("kept")));
    QStringList messages;
    QString shown;
    bool effectsEnabled = false;
    EXPECT_TRUE(EditBox(box,
                        [&](QWidget* sheet)
                        {
                            ShowPage(sheet, BackgroundPage);
                            ModalScript steps;
                            steps.Then(isWarning, [](QWidget* w) { ClickButton(w, QStringLiteral("No")); })
                                .Then(isWarning, [](QWidget* w) { ClickButton(w, QStringLiteral("Yes")); })
                                .Then(IsFileDialog, choose(fake))
                                .Then([](QWidget* w) { return ShowsText(w, QStringLiteral("page.png")); },
                                      [&](QWidget* w)
                                      {
                                          for (QLabel* label : w->findChildren<QLabel*>())
                                              messages << label->text();
                                          ClickButton(w, QStringLiteral("OK"));
                                      })
                                .Then(isWarning, [](QWidget* w) { ClickButton(w, QStringLiteral("Yes")); })
                                .Then(IsFileDialog, choose(picture));
                            steps.Start();
                            for (int i = 0; i < 3; ++i)
                            {
                                Click(sheet, IDC_BACKGROUND_BROWSE);
                                AwaitQueuedEvents();
                            }
                            EXPECT_TRUE(QTest::qWaitFor([&] { return steps.Finished(); }, 10000));
                            AwaitQueuedEvents();
                            shown = Control(sheet, IDC_BACKGROUND_IMAGE_NAME)->GetWindowText();
                            effectsEnabled = Enabled(sheet, IDC_BACKGROUND_IMAGE_EFFECTS);
                            ClickButton(sheet, QStringLiteral("OK"));
                        }));
    EXPECT_TRUE(messages.join(QLatin1Char('|'))
                    .contains(QStringLiteral("The file %1 holds no picture that can be shown.").arg(fake)))
        << messages.join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(newsletter->Layout().Resources().size(), resources + 1) << "only the picture joins the layout";
    EXPECT_EQ(shown, QStringLiteral("waves.png"));
    EXPECT_TRUE(effectsEnabled);
    EXPECT_EQ(box.GetString(StyleBackgroundImage),
              newsletter->Layout().Resources().back()->GetString(ResourceId));
    EXPECT_EQ(box.GetString(StyleBackgroundPipeline), QStringLiteral("kept"));

    QString key;
    EXPECT_TRUE(EditBox(box,
                        [&](QWidget* sheet)
                        {
                            ShowPage(sheet, BackgroundPage);
                            for (const char* button : {"Cancel", "OK"})
                            {
                                ModalScript steps;
                                steps.ThenTitled(QStringLiteral("Image Effect"), [button](QWidget* w)
                                                 { ClickButton(w, QLatin1String(button)); });
                                steps.Start();
                                Click(sheet, IDC_BACKGROUND_IMAGE_EFFECTS);
                                EXPECT_TRUE(QTest::qWaitFor([&] { return steps.Finished(); }, 10000));
                                AwaitQueuedEvents();
                                if (key.isEmpty())
                                    key = box.GetString(StyleBackgroundPipeline);
                            }
                            ClickButton(sheet, QStringLiteral("OK"));
                        }));
    EXPECT_EQ(key, QStringLiteral("kept")) << "Cancel keeps the effect";
    EXPECT_NE(box.GetString(StyleBackgroundPipeline), QStringLiteral("kept"));
    EXPECT_FALSE(box.GetString(StyleBackgroundPipeline).isEmpty());
}
