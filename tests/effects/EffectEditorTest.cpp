#include "EffectsTestSupport.h"
#include "effects/DlgPipelineProperties.h"

#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"
#include "res/dialogs/GreEffectDropShadowProperties.h"
#include "res/dialogs/PipelineProperties.h"

using namespace DialogTest;
using namespace EffectsTest;

namespace
{
constexpr int IdLayers = IDC_LAYER_LIST;
constexpr int IdEffects = IDC_EFFECT_LIST;
constexpr int IdFixed = IDC_FIXED_SIZE;
constexpr int IdUseLayer = IDC_LAYER_SIZE;
constexpr int IdWidth = IDC_WIDTH;
constexpr int IdHeight = IDC_HEIGHT;
constexpr int IdSizeLayer = IDC_SIZE_LAYER;
constexpr int IdWidthLabel = IDC_PIPELINE_WIDTH_LABEL;
constexpr int IdAddText = IDC_ADD_TEXT;
constexpr int IdDelete = IDC_PIPELINE_DELETE;
constexpr int IdMoveUp = IDC_PIPELINE_MOVE_UP;
constexpr int IdMoveDown = IDC_PIPELINE_MOVE_DOWN;
constexpr int IdEditEffect = IDC_EDIT_EFFECT;
constexpr int PreviewId = 4711;

const QString DropShadowTitle = QStringLiteral("Layer Effect - Drop Shadow");

class EffectEditor : public ::testing::Test
{
protected:
    EffectEditor() : m_resource(ImageResource(60, 40)) {}

    // Runs the editor on the id; the steps act on the open dialog, which then ends with the button.
    INT_PTR Run(const QString& id, const std::function<void(QWidget*)>& steps, int endButton)
    {
        m_dialog = std::make_unique<CDlgPipelineProperties>(&m_context, id, *m_resource);
        WhenModal(
            [&]
            {
                QWidget* window = QApplication::activeModalWidget();
                steps(window);
                Click(window, endButton);
            });
        return m_dialog->DoModal();
    }

    // Stores a pipeline of an image layer "A" (the size layer) under two text layers "B" and "C".
    QString StoreThreeLayers(int sizeMode)
    {
        gre::CGrePipeline pipeline;
        auto image = std::make_unique<gre::CGreLayerImage>();
        image->SetName(QStringLiteral("A"));
        image->SetSizeLayer(true);
        pipeline.GetRootGroup().AddLayer(std::move(image));
        for (const char* name : {"B", "C"})
        {
            auto text = std::make_unique<gre::CGreLayerText>();
            text->SetName(QLatin1String(name));
            text->SetText(QLatin1String(name));
            pipeline.GetRootGroup().AddLayer(std::move(text));
        }
        pipeline.SetSizeMode(sizeMode);
        pipeline.SetSize(QSize(50, 30));
        const QString key = pipeline.GetHashKey();
        m_newsletter.Project().SetPipeline(key, pipeline.Clone());
        return key;
    }

    QStringList ChildNames() const
    {
        QStringList names;
        for (const auto& layer : m_dialog->GetPipeline().GetRootGroup().GetLayers())
            names << layer->GetName();
        return names;
    }

    ndb::CNdbNewsletter m_newsletter;
    FakeContext m_context{&m_newsletter};
    std::unique_ptr<ndb::CNdbResource> m_resource;
    std::unique_ptr<CDlgPipelineProperties> m_dialog;
};

QImage PreviewOf(QWidget* window)
{
    auto* preview = dynamic_cast<CGreImageCtrl*>(CWnd::FromHandle(Item(window, PreviewId)));
    return preview ? preview->m_image.GetBitmap() : QImage();
}

void AnswerYes()
{
    auto* script = new ModalScript;
    script->Then([](QWidget* w) { return ClickButton(w, QStringLiteral("Yes")); }, [script](QWidget*) {});
    script->Start();
    QObject::connect(QApplication::instance(), &QObject::destroyed, [script] { delete script; });
}
} // namespace

TEST_F(EffectEditor, OpensOnTheImageAloneAndEachConfirmedRunGivesANewKey)
{
    QStringList keys;
    for (int run = 0; run < 2; ++run)
    {
        EXPECT_EQ(Run(
                      QString(),
                      [&](QWidget* window)
                      {
                          EXPECT_EQ(window->windowTitle(), QStringLiteral("Image Effect"));
                          EXPECT_EQ(Rows(window, IdLayers),
                                    QStringList(QStringLiteral("[+Source Image Layer]")));
                          EXPECT_EQ(Rows(window, IdEffects), QStringList(QStringLiteral("[Drop Shadow]")));
                          EXPECT_TRUE(IsChecked(window, IdUseLayer));
                          EXPECT_FALSE(Item(window, IdWidth)->isEnabled());
                          EXPECT_FALSE(Item(window, IdWidthLabel)->isEnabled());
                          EXPECT_TRUE(Item(window, IdSizeLayer)->isEnabled());
                          EXPECT_FALSE(Item(window, IdEditEffect)->isEnabled());
                          EXPECT_EQ(PreviewOf(window), Picture(60, 40));
                      },
                      IDOK),
                  IDOK);
        keys << m_dialog->GetResultKey();
        EXPECT_TRUE(m_newsletter.Project().GetPipeline(keys.last()));
    }
    // Each starting layer has an id of its own, and the key of a layer-sized effect holds it.
    EXPECT_NE(keys[0], keys[1]);
}

TEST_F(EffectEditor, UnchangedStoredEffectGivesItsKeyBackAndAddsNothing)
{
    const QString key = StoreThreeLayers(gre::SizeModeFixed);
    EXPECT_EQ(Run(
                  key,
                  [](QWidget* window)
                  {
                      EXPECT_EQ(Rows(window, IdLayers), (QStringList{"[+C]", "+B", "+A"}));
                      EXPECT_TRUE(IsChecked(window, IdFixed));
                      EXPECT_EQ(Text(window, IdWidth), QStringLiteral("50"));
                      EXPECT_EQ(Text(window, IdHeight), QStringLiteral("30"));
                      EXPECT_EQ(Text(window, IdSizeLayer), QStringLiteral("A"));
                      EXPECT_EQ(PreviewOf(window).size(), QSize(50, 30));
                  },
                  IDOK),
              IDOK);
    EXPECT_EQ(m_dialog->GetResultKey(), key);
    EXPECT_EQ(m_newsletter.Project().GetPipelines().size(), 1u);

    // Cancel after a change stores nothing.
    Run(
        key, [](QWidget* window) { TypeInto(window, IdWidth, QStringLiteral("70")); }, IDCANCEL);
    EXPECT_TRUE(m_dialog->GetResultKey().isEmpty());
    EXPECT_EQ(m_newsletter.Project().GetPipelines().size(), 1u);
}

TEST_F(EffectEditor, RowsFollowMovesAndDeletions)
{
    struct Case
    {
        const char* name;
        int selectRow;
        std::vector<int> buttons;
        QStringList rows;
        QStringList children;
        QString sizeLayer;
    };
    const Case cases[] = {
        {"second up", 1, {IdMoveUp}, {"[+B]", "+C", "+A"}, {"A", "C", "B"}, "A"},
        {"second down", 1, {IdMoveDown}, {"+C", "+A", "[+B]"}, {"B", "A", "C"}, "A"},
        {"first up stays", 0, {IdMoveUp}, {"[+C]", "+B", "+A"}, {"A", "B", "C"}, "A"},
        {"last down stays", 2, {IdMoveDown}, {"+C", "+B", "[+A]"}, {"A", "B", "C"}, "A"},
        {"size layer deleted", 2, {IdDelete}, {"+C", "[+B]"}, {"B", "C"}, "B"},
        {"all deleted", 0, {IdDelete, IdDelete, IdDelete}, {}, {}, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_newsletter.Project().RemoveAllPipelines();
        const QString key = StoreThreeLayers(gre::SizeModeLayer);
        Run(
            key,
            [&](QWidget* window)
            {
                ClickRow(window, IdLayers, c.selectRow);
                for (const int button : c.buttons)
                {
                    if (button == IdDelete)
                    {
                        AnswerYes();
                        if (List(window, IdLayers)->selectedItems().isEmpty())
                            ClickRow(window, IdLayers, 0);
                    }
                    Click(window, button);
                }
                EXPECT_EQ(Rows(window, IdLayers), c.rows);
                EXPECT_EQ(Text(window, IdSizeLayer), c.sizeLayer);
                if (c.rows.isEmpty())
                {
                    EXPECT_EQ(PreviewOf(window).pixel(3, 3), 0xFFFFFFFF);
                }
            },
            IDCANCEL);
        EXPECT_EQ(ChildNames(), c.children);
        if (!c.children.isEmpty())
        {
            EXPECT_EQ(m_dialog->GetPipeline().GetSizeLayer()->GetName(), c.sizeLayer);
        }
    }
}

TEST_F(EffectEditor, DropShadowTickOpensItsDialogOnlyForANewShadow)
{
    struct Case
    {
        const char* name;
        std::function<void(QWidget*)> inShadowDialog; // null: no dialog may come up
        int shadowDialogEnd;
        int effectsAfter;
        bool enabledAfter;
        float distanceAfter;
    };
    const Case cases[] = {
        {"new shadow cancelled", [](QWidget*) {}, IDCANCEL, 0, false, 0},
        {"new shadow confirmed", [](QWidget* w) { TypeInto(w, IDC_DISTANCE, QStringLiteral("9")); }, IDOK, 1,
         true, 9},
        {"applied then cancelled",
         [](QWidget* w)
         {
             TypeInto(w, IDC_DISTANCE, QStringLiteral("9"));
             Click(w, IDC_APPLY);
         },
         IDCANCEL, 0, false, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Run(
            QString(),
            [&](QWidget* window)
            {
                ModalScript script;
                script.ThenTitled(DropShadowTitle,
                                  [&](QWidget* w)
                                  {
                                      c.inShadowDialog(w);
                                      Click(w, c.shadowDialogEnd);
                                  });
                script.Start();
                ClickCheckBox(window, IdEffects, 0);
                EXPECT_TRUE(script.Finished());
                EXPECT_EQ(Rows(window, IdEffects).join(""),
                          c.effectsAfter ? "[+Drop Shadow]" : "[Drop Shadow]");
                EXPECT_EQ(Item(window, IdEditEffect)->isEnabled(), c.effectsAfter > 0);
            },
            IDCANCEL);
        const gre::CGreLayerBase* layer = m_dialog->GetPipeline().GetRootGroup().GetLayer(0);
        ASSERT_EQ(layer->GetEffectCount(), c.effectsAfter);
        if (c.effectsAfter)
        {
            const auto* shadow = static_cast<const gre::CGreEffectDropShadow*>(layer->GetEffect(0));
            EXPECT_EQ(shadow->IsEnabled(), c.enabledAfter);
            EXPECT_EQ(shadow->GetDistance(), c.distanceAfter);
        }
    }
}

TEST_F(EffectEditor, ShadowSwitchedOffAndOnAgainNeedsNoDialogAndKeepsItsValuesOnCancel)
{
    gre::CGrePipeline pipeline;
    auto image = std::make_unique<gre::CGreLayerImage>();
    image->SetName(QStringLiteral("A"));
    auto shadow = std::make_unique<gre::CGreEffectDropShadow>();
    shadow->SetEnabled(false);
    image->AddEffect(std::move(shadow));
    pipeline.GetRootGroup().AddLayer(std::move(image));
    const QString key = pipeline.GetHashKey();
    m_newsletter.Project().SetPipeline(key, pipeline.Clone());
    Run(
        key,
        [&](QWidget* window)
        {
            // A dialog coming up would hang here: ticking an existing shadow only switches it on.
            ClickCheckBox(window, IdEffects, 0);
            EXPECT_TRUE(Item(window, IdEditEffect)->isEnabled());
            // Hiding the layer leaves the shadow's own flag alone, also while it is edited.
            ClickCheckBox(window, IdLayers, 0);
            ModalScript script;
            script.ThenTitled(DropShadowTitle,
                              [](QWidget* w)
                              {
                                  TypeInto(w, IDC_DISTANCE, QStringLiteral("14"));
                                  Click(w, IDCANCEL);
                              });
            script.Start();
            Click(window, IdEditEffect);
            EXPECT_EQ(Rows(window, IdEffects).join(""), "[+Drop Shadow]");
        },
        IDOK);
    const gre::CGreLayerBase* layer = m_dialog->GetPipeline().GetRootGroup().GetLayer(0);
    EXPECT_FALSE(layer->IsVisible());
    const auto* edited = static_cast<const gre::CGreEffectDropShadow*>(layer->GetEffect(0));
    EXPECT_TRUE(edited->IsEnabled());
    EXPECT_EQ(edited->GetDistance(), 5.0f);
    // Visibility and the shadow's flag are part of the key.
    EXPECT_NE(m_dialog->GetResultKey(), key);
}

TEST_F(EffectEditor, CancelledNewTextLayerLeavesNoRowAndNoSizeEntry)
{
    Run(
        QString(),
        [&](QWidget* window)
        {
            ModalScript script;
            script.ThenTitled(QStringLiteral("Text Layer Properties"),
                              [](QWidget* w) { Click(w, IDCANCEL); });
            script.Start();
            Click(window, IdAddText);
            EXPECT_EQ(Rows(window, IdLayers), QStringList(QStringLiteral("[+Source Image Layer]")));
            EXPECT_EQ(qobject_cast<QComboBox*>(Item(window, IdSizeLayer))->count(), 1);
        },
        IDCANCEL);
    EXPECT_EQ(m_dialog->GetPipeline().GetRootGroup().GetLayerCount(), 1);
}
