#include "ColorTestSupport.h"
#include "ScreenPicture.h"
#include "StyleTestSupport.h"
#include "dialogs/DlgStyles.h"
#include "ndb/NdbResource.h"
#include "res/dialogs/PageStyle1.h"
#include "res/dialogs/PageStyle2.h"
#include "res/dialogs/PageStyle3.h"
#include "res/dialogs/PageStyle4.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <algorithm>

using namespace ColorTest;
using namespace StyleTest;
using namespace ndb;

namespace
{
enum PageIndex
{
    FontPage = 0,
    LayoutPage = 1,
    BackgroundPage = 2,
    MiscPage = 3,
};

class StylePages : public StyledNewsletter
{
protected:
    // Edits the style in the sheet of style pages; the steps run in the sheet.
    bool Edit(CNdbStyle& style, std::function<void(QWidget*)> steps)
    {
        CDlgStyles dialog(&context);
        ModalScript script;
        script.Then([](QWidget* w) { return w->windowTitle().startsWith(QStringLiteral("Style - ")); },
                    std::move(steps));
        script.Start();
        const bool ok = dialog.EditStyle(&style);
        EXPECT_TRUE(script.Finished());
        return ok;
    }
    static CNdbStyle Named(const QString& name)
    {
        CNdbStyle style;
        style.SetField(StyleDisplayName, CNdbFieldValue(name));
        style.SetField(StyleRuleName, CNdbFieldValue(QStringLiteral("c9")));
        return style;
    }
    static QString Length(const CNdbStyle& style, int id)
    {
        CNdbFieldValue value;
        if (!style.GetField(id, value))
            return QStringLiteral("absent");
        return value.GetUnit() == NdbUnitNone ? QStringLiteral("zero") : value.FormatLength();
    }
};

QString SizeText(QWidget* sheet)
{
    return Combo(sheet, IDC_SIZE)->lineEdit()->text();
}
} // namespace

TEST_F(StylePages, TheSizeKeepsDigitsAndALeadingMinusAndAnEmptySizeRemovesIt)
{
    CNdbStyle style = Named(QStringLiteral("Sized"));
    style.SetField(StyleFontSize, CNdbFieldValue(12.0f, NdbUnitPt));
    QStringList shown;
    int caret = -1;
    QString unitWhenEmptied;
    EXPECT_TRUE(Edit(
        style,
        [&](QWidget* sheet)
        {
            for (const QString keys : {QStringLiteral("1a2"), QStringLiteral("-5"), QStringLiteral("5-")})
            {
                TypeInto(sheet, IDC_SIZE, keys);
                shown << SizeText(sheet);
                if (keys == QStringLiteral("1a2"))
                    caret = Combo(sheet, IDC_SIZE)->lineEdit()->cursorPosition();
            }
            QTest::keyClick(Combo(sheet, IDC_SIZE)->lineEdit(), Qt::Key_Backspace);
            unitWhenEmptied = Combo(sheet, IDC_SIZE_UNIT)->currentText();
            ClickButton(sheet, QStringLiteral("OK"));
        }));
    EXPECT_EQ(shown, (QStringList{"12", "-5", "5"}));
    EXPECT_EQ(caret, 2);
    EXPECT_EQ(unitWhenEmptied, QStringLiteral("pixels"));
    EXPECT_EQ(Length(style, StyleFontSize), QStringLiteral("absent")) << "an empty size sets none";
}

TEST_F(StylePages, NoneDisablesTheOtherDecorationsButKeepsTheirChecks)
{
    CNdbStyle style = Named(QStringLiteral("Plain"));
    bool underlineEnabled = true;
    EXPECT_TRUE(Edit(style,
                     [&](QWidget* sheet)
                     {
                         Click(sheet, IDC_UNDERLINE);
                         Click(sheet, IDC_NONE);
                         underlineEnabled = Control(sheet, IDC_UNDERLINE)->IsWindowEnabled();
                         ClickButton(sheet, QStringLiteral("OK"));
                     }));
    EXPECT_FALSE(underlineEnabled);
    EXPECT_EQ(style.GetInt(StyleTextDecoration, 0), NdbDecorationNone | NdbDecorationUnderline);
}

TEST_F(StylePages, NormalLetterSpacingIsAZeroLengthWithoutUnitAndOpensAsNormal)
{
    CNdbStyle style = Named(QStringLiteral("Spaced"));
    style.SetField(StyleLineHeight, CNdbFieldValue(0.4f, NdbUnitEm));
    EXPECT_TRUE(Edit(style,
                     [](QWidget* sheet)
                     {
                         ShowPage(sheet, LayoutPage);
                         EXPECT_EQ(Combo(sheet, IDC_LINES)->currentText(), QStringLiteral("Normal"));
                         Choose(sheet, IDC_LETTERS, QStringLiteral("Normal"));
                         ClickButton(sheet, QStringLiteral("OK"));
                     }));
    EXPECT_EQ(Length(style, StyleLetterSpacing), QStringLiteral("zero"));
    EXPECT_EQ(Length(style, StyleLineHeight), QStringLiteral("0.4em")) << "an untouched line height stays";
    QString mode;
    int unit = 0;
    Edit(style,
         [&](QWidget* sheet)
         {
             ShowPage(sheet, LayoutPage);
             mode = Combo(sheet, IDC_LETTERS)->currentText();
             unit = Combo(sheet, IDC_LETTERS_UNIT)->currentIndex();
             ClickButton(sheet, QStringLiteral("Cancel"));
         });
    EXPECT_EQ(mode, QStringLiteral("Normal"));
    EXPECT_EQ(unit, -1);
}

TEST_F(StylePages, MarginsStoreFourZerosOrKeepTheirOwnUnitsAndFractions)
{
    CNdbStyle plain = Named(QStringLiteral("Plain"));
    EXPECT_TRUE(Edit(plain,
                     [](QWidget* sheet)
                     {
                         ShowPage(sheet, LayoutPage);
                         Click(sheet, IDC_DEFAULT_MARGINS);
                         ClickButton(sheet, QStringLiteral("OK"));
                     }));
    for (int id : {StyleMarginTop, StyleMarginBottom, StyleMarginLeft, StyleMarginRight})
        EXPECT_EQ(Length(plain, id), QStringLiteral("0")) << id;

    CNdbStyle mixed = Named(QStringLiteral("Mixed"));
    mixed.SetField(StyleMarginTop, CNdbFieldValue(10.0f, NdbUnitPx));
    mixed.SetField(StyleMarginBottom, CNdbFieldValue(1.5f, NdbUnitEm));
    mixed.SetField(StyleMarginLeft, CNdbFieldValue(2.0f, NdbUnitPt));
    int unit = 0;
    EXPECT_TRUE(Edit(mixed,
                     [&](QWidget* sheet)
                     {
                         ShowPage(sheet, LayoutPage);
                         unit = Combo(sheet, IDC_MARGIN_UNIT)->currentIndex();
                         TypeInto(sheet, IDC_TOP_MARGIN, QStringLiteral("12"));
                         ClickButton(sheet, QStringLiteral("OK"));
                     }));
    EXPECT_EQ(unit, -1) << "sides in different units show no unit";
    EXPECT_EQ(Length(mixed, StyleMarginTop), QStringLiteral("12px"));
    EXPECT_EQ(Length(mixed, StyleMarginBottom), QStringLiteral("1.5em"));
    EXPECT_EQ(Length(mixed, StyleMarginLeft), QStringLiteral("2pt"));
    EXPECT_EQ(Length(mixed, StyleMarginRight), QStringLiteral("0"));
}

TEST_F(StylePages, AStyleWithOnlyARightBorderColourWritesEveryBorderOnceChanged)
{
    FillPalette(newsletter->Palette());
    CNdbStyle style = Named(QStringLiteral("Edged"));
    style.SetField(StyleBorderRightColor, CNdbFieldValue(CNdbColor(SkyKey)));
    bool defaultBorder = true;
    EXPECT_TRUE(Edit(style,
                     [&](QWidget* sheet)
                     {
                         ShowPage(sheet, BackgroundPage);
                         defaultBorder = qobject_cast<QCheckBox*>(Widget(Control(sheet, IDC_DEFAULT_BORDER)))
                                             ->isChecked();
                         TypeInto(sheet, IDC_TOP_BORDER_WIDTH, QStringLiteral("2"));
                         ClickButton(sheet, QStringLiteral("OK"));
                     }));
    EXPECT_FALSE(defaultBorder);
    EXPECT_EQ(Length(style, StyleBorderTopWidth), QStringLiteral("2px"));
    for (int id : {StyleBorderBottomWidth, StyleBorderLeftWidth, StyleBorderRightWidth})
        EXPECT_EQ(Length(style, id), QStringLiteral("1px")) << id;
    for (int id : {StyleBorderTopStyle, StyleBorderBottomStyle, StyleBorderLeftStyle, StyleBorderRightStyle})
        EXPECT_EQ(style.GetInt(id, -1), 4) << id;
    CNdbFieldValue color;
    ASSERT_TRUE(style.GetField(StyleBorderRightColor, color));
    EXPECT_EQ(*color.GetColor(), CNdbColor(SkyKey));
    ASSERT_TRUE(style.GetField(StyleBorderTopColor, color));
    EXPECT_EQ(*color.GetColor(), CNdbColor(0, 0, 0));
}

TEST_F(StylePages, RemovingTheBackgroundImageRemovesItsEffectAndACustomPositionTakesALength)
{
    auto image = std::make_unique<CNdbResource>();
    const QString key = QStringLiteral("{0B7A1E52-0000-4000-8000-0000000000F1}");
    image->SetField(ResourceId, CNdbFieldValue(key));
    image->SetField(ResourceFileName, CNdbFieldValue(QStringLiteral("paper.png")));
    image->SetField(ResourcePath, CNdbFieldValue(QStringLiteral("img/paper.png")));
    newsletter->Layout().AddResource(std::move(image));

    CNdbStyle style = Named(QStringLiteral("Papered"));
    style.SetField(StyleBackgroundImage, CNdbFieldValue(key));
    style.SetField(StyleBackgroundPipeline, CNdbFieldValue(QStringLiteral("0123456789abcdef")));
    QString shownName;
    bool valueEnabledBefore = true;
    bool valueEnabledAfter = false;
    bool removeEnabledAfter = true;
    ModalScript question;
    question.ThenShowing(QStringLiteral("Are you sure you wish to remove the background image?"),
                         [](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); });
    question.Start();
    EXPECT_TRUE(Edit(style,
                     [&](QWidget* sheet)
                     {
                         ShowPage(sheet, BackgroundPage);
                         shownName = Control(sheet, IDC_BACKGROUND_IMAGE_NAME)->GetWindowText();
                         valueEnabledBefore = Control(sheet, IDC_BACKGROUND_POS_X_VALUE)->IsWindowEnabled();
                         Choose(sheet, IDC_BACKGROUND_POS_X, QStringLiteral("Custom"));
                         valueEnabledAfter = Control(sheet, IDC_BACKGROUND_POS_X_VALUE)->IsWindowEnabled();
                         TypeInto(sheet, IDC_BACKGROUND_POS_X_VALUE, QStringLiteral("15"));
                         Click(sheet, IDC_BACKGROUND_REMOVE);
                         removeEnabledAfter = Control(sheet, IDC_BACKGROUND_REMOVE)->IsWindowEnabled();
                         ClickButton(sheet, QStringLiteral("OK"));
                     }));
    EXPECT_TRUE(question.Finished());
    EXPECT_EQ(shownName, QStringLiteral("paper.png"));
    EXPECT_FALSE(valueEnabledBefore);
    EXPECT_TRUE(valueEnabledAfter);
    EXPECT_FALSE(removeEnabledAfter);
    EXPECT_EQ(style.GetInt(StyleBackgroundPositionX, -1), 3);
    EXPECT_EQ(Length(style, StyleBackgroundPositionXLength), QStringLiteral("15px"));
    EXPECT_EQ(Length(style, StyleBackgroundPositionYLength), QStringLiteral("absent"));
    EXPECT_TRUE(style.GetString(StyleBackgroundImage).isEmpty());
    EXPECT_TRUE(style.GetString(StyleBackgroundPipeline).isEmpty());
}

TEST_F(StylePages, DefaultCursorAndEmptyCustomSettingsRemoveTheirFields)
{
    CNdbStyle style = Named(QStringLiteral("Pointed"));
    style.SetField(StyleCursor, CNdbFieldValue(NdbValueCursor, 2));
    style.SetField(StyleFreeCss, CNdbFieldValue(QStringLiteral("color:red;")));
    QString cursor;
    EXPECT_TRUE(Edit(style,
                     [&](QWidget* sheet)
                     {
                         ShowPage(sheet, MiscPage);
                         cursor = Combo(sheet, IDC_CURSOR)->currentText();
                         Choose(sheet, IDC_CURSOR, QStringLiteral("Default"));
                         TypeInto(sheet, IDC_CUSTOM_SETTINGS, QString());
                         QTest::keyClick(Widget(Control(sheet, IDC_CUSTOM_SETTINGS)), Qt::Key_Backspace);
                         ClickButton(sheet, QStringLiteral("OK"));
                     }));
    EXPECT_EQ(cursor, QStringLiteral("Pointer"));
    CNdbFieldValue value;
    EXPECT_FALSE(style.GetField(StyleCursor, value));
    EXPECT_FALSE(style.GetField(StyleFreeCss, value));
}

TEST_F(StylePages, PicturesOfTheFourPagesWithTheirPreviews)
{
    // Web pages show in pictures of a real display only: run under Xvfb with QT_QPA_PLATFORM=xcb.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "pictures of web previews need a display";
    FillPalette(newsletter->Palette());
    CNdbStyle* normal = FindStyle(*newsletter, QStringLiteral("Normal"));
    normal->SetField(StyleColor, CNdbFieldValue(CNdbColor(180, 30, 40)));
    normal->SetField(StyleBackgroundColor, CNdbFieldValue(CNdbColor(SkyKey)));
    normal->SetField(StyleBorderBottomWidth, CNdbFieldValue(2.0f, NdbUnitPx));
    normal->SetField(StyleBorderBottomStyle, CNdbFieldValue(NdbValueBorderStyle, 4));
    normal->SetField(StyleLetterSpacing, CNdbFieldValue(1.0f, NdbUnitPx));
    Edit(*normal,
         [&](QWidget* sheet)
         {
             for (int page = FontPage; page <= MiscPage; ++page)
             {
                 ShowPage(sheet, page);
                 std::vector<QRect> previews;
                 for (QWebEngineView* view : sheet->findChildren<QWebEngineView*>())
                 {
                     if (!view->isVisible())
                         continue;
                     EXPECT_TRUE(QTest::qWaitFor(
                         [view] { return !Evaluate(view->page(), ParagraphStyleScript).isEmpty(); }, 10000));
                     previews.push_back(AreaInWindow(view));
                 }
                 // Each preview shows the sample text in the style's red.
                 const auto showsStyle = [&](const QImage& grab)
                 {
                     return std::all_of(previews.begin(), previews.end(),
                                        [&](const QRect& preview)
                                        { return PixelsNear(grab, preview, qRgb(180, 30, 40)) > 50; });
                 };
                 QImage picture;
                 const bool shown = GrabWhenShown(sheet->window(), showsStyle, picture);
                 picture.save(ArtifactPath(QStringLiteral("style_page_%1.png").arg(130 + page)));
                 EXPECT_TRUE(shown) << "page " << page << " never showed the style in its previews";
             }
             ClickButton(sheet, QStringLiteral("Cancel"));
         });
}
