#include "EffectsTestSupport.h"
#include "effects/DlgGreEffectDropShadowProperties.h"
#include "effects/DlgGreLayerImageProperties.h"
#include "effects/DlgGreLayerTextProperties.h"

#include "controls/ControlTestSupport.h"
#include "servicesui/ServicesUiSupport.h"

#include "base/Md5Digest.h"
#include "effects/GreEffectCommands.h"
#include "ndb/NdbPalette.h"

using namespace DialogTest;
using namespace EffectsTest;

namespace
{
constexpr int IdDistance = 1535;
constexpr int IdAngle = 1531;
constexpr int IdShadowOpacity = 1537;
constexpr int IdText = 1541;
constexpr int IdName = 1557;
constexpr int IdRotation = 1538;
constexpr int IdOpacity = 1555;
constexpr int IdMarginLeft = 1548;
constexpr int IdUseSource = 1562;
constexpr int IdBrowse = 1471;
constexpr int IdSize = 1552;

// Runs a dialog over an owner that records its commands; the steps act on the open dialog,
// which then ends with the button.
class DialogRun
{
public:
    DialogRun() { EXPECT_TRUE(owner.CreateShown(200, 100)); }

    INT_PTR Run(CDialog& dialog, const std::function<void(QWidget*)>& steps, int endButton)
    {
        WhenModal(
            [&]
            {
                QWidget* window = QApplication::activeModalWidget();
                QCoreApplication::processEvents(); // the dialog settles its controls
                steps(window);
                Click(window, endButton);
            });
        return dialog.DoModal();
    }
    int AppliedCount() const
    {
        return int(std::count(owner.commands.begin(), owner.commands.end(),
                              std::pair<WPARAM, LPARAM>(UM_GRE_APPLIED, 0)));
    }

    CCommandRecorder owner;
};
} // namespace

TEST(DropShadowDialog, ShowsTheStoredShadowAndKeepsWhatTheUserLeftAlone)
{
    ndb::CNdbNewsletter newsletter;
    gre::CGreEffectDropShadow shadow;
    const gre::CGreEffectDropShadow stored(shadow);
    DialogRun run;
    CDlgGreEffectDropShadowProperties dialog(&newsletter, &shadow, &run.owner);
    const INT_PTR result = run.Run(
        dialog,
        [](QWidget* window)
        {
            EXPECT_EQ(window->windowTitle(), QStringLiteral("Layer Effect - Drop Shadow"));
            EXPECT_EQ(Text(window, IdAngle), QStringLiteral("45"));
            EXPECT_EQ(Text(window, IdDistance), QStringLiteral("5"));
            EXPECT_EQ(Text(window, IdShadowOpacity), QStringLiteral("100"));
        },
        IDOK);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shadow.GetAngle(), stored.GetAngle());
    EXPECT_EQ(shadow.GetDistance(), stored.GetDistance());
    EXPECT_EQ(shadow.GetOpacity(), 255);
    EXPECT_EQ(shadow.GetColor(), stored.GetColor());
    EXPECT_EQ(shadow.GetColor().GetValue(), 0xFF808080);
    EXPECT_EQ(run.AppliedCount(), 0);
}

TEST(DropShadowDialog, EveryChangeIsAppliedAtOnceAndReported)
{
    ndb::CNdbNewsletter newsletter;
    gre::CGreEffectDropShadow shadow;
    DialogRun run;
    CDlgGreEffectDropShadowProperties dialog(&newsletter, &shadow, &run.owner);
    run.Run(
        dialog,
        [&](QWidget* window)
        {
            TypeInto(window, IdDistance, QStringLiteral("12"));
            EXPECT_EQ(shadow.GetDistance(), 12.0f);
            EXPECT_GT(run.AppliedCount(), 0);
            TypeInto(window, IdAngle, QStringLiteral("90"));
            TypeInto(window, IdShadowOpacity, QStringLiteral("50"));
        },
        IDCANCEL);
    // Cancel takes nothing back: the opener keeps the copy that undoes it.
    EXPECT_EQ(shadow.GetDistance(), 12.0f);
    EXPECT_EQ(shadow.GetAngle(), 1.5707964f);
    EXPECT_EQ(shadow.GetOpacity(), 127);
}

TEST(LayerDialogs, ShownValuesAndWhatTheUserTypesIsStored)
{
    // Opacity: image layers round the percentage, text layers truncate both ways.
    struct Case
    {
        bool text;
        int storedOpacity;
        QString shownOpacity;
        QString typed; // into the opacity, empty for none
        int opacityAfterOk;
    };
    const Case cases[] = {
        {true, 127, "49", {}, 127},  {false, 127, "50", {}, 127}, {true, 255, "100", "1", 2},
        {false, 255, "100", "1", 3}, {true, 0, "0", "10", 25},    {false, 0, "0", "10", 25},
        {true, 0, "0", "50", 127},   {false, 0, "0", "50", 127},
    };
    ndb::CNdbNewsletter newsletter;
    gre::GreImageMap images;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(c.text).arg(c.storedOpacity).arg(c.typed).toStdString());
        gre::CGreLayerText text;
        gre::CGreLayerImage image;
        gre::CGreLayerBase& layer = c.text ? static_cast<gre::CGreLayerBase&>(text) : image;
        layer.SetOpacity(c.storedOpacity);
        layer.SetRotation(0.7853982f);
        DialogRun run;
        std::unique_ptr<CDialog> dialog;
        if (c.text)
            dialog = std::make_unique<CDlgGreLayerTextProperties>(&newsletter, &text, &run.owner);
        else
            dialog = std::make_unique<CDlgGreLayerImageProperties>(&image, &images, nullptr, &run.owner);
        run.Run(
            *dialog,
            [&](QWidget* window)
            {
                EXPECT_EQ(Text(window, IdOpacity), c.shownOpacity);
                EXPECT_EQ(Text(window, IdRotation), QStringLiteral("45"));
                if (!c.typed.isEmpty())
                    TypeInto(window, IdOpacity, c.typed);
            },
            IDOK);
        EXPECT_EQ(layer.GetOpacity(), c.opacityAfterOk);
        EXPECT_EQ(layer.GetRotation(), 0.7853982f);
    }
}

TEST(LayerDialogs, RotationAndMarginsTypedAreConverted)
{
    ndb::CNdbNewsletter newsletter;
    gre::CGreLayerText layer;
    layer.SetRotation(0.2181662f); // 12.5 degrees: the whole-number edit shows 13
    DialogRun run;
    CDlgGreLayerTextProperties dialog(&newsletter, &layer, &run.owner);
    run.Run(
        dialog,
        [&](QWidget* window)
        {
            EXPECT_EQ(Text(window, IdRotation), QStringLiteral("13"));
            TypeInto(window, IdMarginLeft, QStringLiteral("-7"));
            EXPECT_EQ(layer.GetMargins().left(), -7);
            EXPECT_EQ(layer.GetRotation(), 0.2181662f);
            TypeInto(window, IdRotation, QStringLiteral("90"));
            EXPECT_EQ(layer.GetRotation(), 1.5707964f);
        },
        IDOK);
}

TEST(LayerDialogs, ColourWithAMissingPaletteKeyKeepsValueAndName)
{
    ndb::CNdbNewsletter newsletter;
    gre::CGreColor color(0x12, 0x34, 0x56, 0xFF);
    color.SetName(QStringLiteral("{gone}"));
    gre::CGreLayerText layer;
    layer.SetColor(color);
    gre::CGreEffectDropShadow shadow;
    shadow.SetColor(color);
    DialogRun run;
    CDlgGreLayerTextProperties textDialog(&newsletter, &layer, &run.owner);
    run.Run(
        textDialog, [](QWidget* window) { Click(window, 1544); }, IDOK);
    EXPECT_EQ(layer.GetColor(), color);
    EXPECT_TRUE(layer.IsBold());
    CDlgGreEffectDropShadowProperties shadowDialog(&newsletter, &shadow, &run.owner);
    run.Run(
        shadowDialog, [](QWidget* window) { TypeInto(window, IdDistance, QStringLiteral("3")); }, IDOK);
    EXPECT_EQ(shadow.GetColor(), color);
}

TEST(LayerDialogs, NameFollowsTheFirstLineOfTheTextUntilTheUserNamesTheLayer)
{
    ndb::CNdbNewsletter newsletter;
    gre::CGreLayerText layer;
    layer.SetText(QStringLiteral("Text"));
    layer.SetName(QStringLiteral("Text"));
    DialogRun run;
    CDlgGreLayerTextProperties dialog(&newsletter, &layer, &run.owner);
    run.Run(
        dialog,
        [&](QWidget* window)
        {
            QWidget* text = Item(window, IdText);
            TypeOver(text, QStringLiteral("Hello"));
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, QStringLiteral("World"));
            EXPECT_EQ(Text(window, IdName), QStringLiteral("Hello"));
            EXPECT_EQ(layer.GetName(), QStringLiteral("Hello"));
            EXPECT_EQ(layer.GetText(), QStringLiteral("Hello\nWorld"));
            TypeInto(window, IdName, QStringLiteral("Greeting"));
            QTest::keyClicks(text, QStringLiteral("!"));
            EXPECT_EQ(layer.GetName(), QStringLiteral("Greeting"));
            EXPECT_EQ(Text(window, IdSize), QStringLiteral("12"));
        },
        IDOK);
    EXPECT_EQ(layer.GetName(), QStringLiteral("Greeting"));
    EXPECT_EQ(layer.GetText(), QStringLiteral("Hello\nWorld!"));
}

TEST(LayerDialogs, ImageLayerTakesItsOwnPictureOnlyThroughBrowse)
{
    const ServicesUi::ScopedSettings settings;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("logo.png"));
    const QByteArray bytes = PngBytes(Picture(40, 20));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    const QString digest = CMd5Digest(bytes.constData(), int(bytes.size())).GetDigest();
    gre::GreImageMap images;
    gre::CGreImage source;
    ASSERT_TRUE(source.LoadFromBytes(PngBytes(Picture(30, 30))));
    gre::CGreLayerImage first;
    gre::CGreLayerImage second;
    for (gre::CGreLayerImage* layer : {&first, &second})
    {
        DialogRun run;
        CDlgGreLayerImageProperties dialog(layer, &images, &source, &run.owner);
        run.Run(
            dialog,
            [&](QWidget* window)
            {
                EXPECT_TRUE(IsChecked(window, IdUseSource));
                EXPECT_FALSE(Item(window, IdBrowse)->isEnabled());
                Click(window, IdUseSource);
                // Without a picture of its own the layer still shows the source image.
                EXPECT_TRUE(Item(window, IdBrowse)->isEnabled());
                EXPECT_TRUE(layer->IsUseSource());
                ModalScript script;
                script.Then(IsFileDialog, [&](QWidget* w) { ChooseFiles(w, {file}); });
                script.Start();
                Click(window, IdBrowse);
                EXPECT_TRUE(QTest::qWaitFor([&] { return !layer->IsUseSource(); }));
            },
            IDOK);
        EXPECT_FALSE(layer->IsUseSource());
        EXPECT_EQ(layer->GetImageId(), digest);
    }
    EXPECT_EQ(images.size(), 1u);
    QString remembered;
    EXPECT_TRUE(ReadAppSettingString(HKEY_CURRENT_USER, QStringLiteral("SavePath_GreImage"), remembered));
    EXPECT_EQ(remembered, folder.path() + u'/');
}
