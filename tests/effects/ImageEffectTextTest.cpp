#include "effects/ImageEffectText.h"
#include "EffectsTestSupport.h"

#include "gre/GreLayerGroup.h"
#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"
#include "res/dialogs/ImageEffectSetText.h"

using namespace DialogTest;
using namespace EffectsTest;

namespace
{
constexpr int IdFirstEdit = IDC_FIRST_EDIT;
constexpr int IdFirstLabel = IDC_FIRST_LABEL;
constexpr int IdNote = IDC_NOTE;
const QString Title = QStringLiteral("Text for Image Effect");
const QString NoTextEffect = QStringLiteral("The image has no text effect.");

std::unique_ptr<gre::CGreLayerText> TextLayer(const QString& text, bool visible = true)
{
    auto layer = std::make_unique<gre::CGreLayerText>();
    layer->SetText(text);
    layer->SetVisible(visible);
    return layer;
}

QStringList Texts(const gre::CGrePipeline& pipeline)
{
    QStringList texts;
    for (const auto& layer : pipeline.GetRootGroup().GetLayers())
    {
        if (const auto* text = dynamic_cast<const gre::CGreLayerText*>(layer.get()))
            texts << text->GetText();
        else if (const auto* group = dynamic_cast<const gre::CGreLayerGroup*>(layer.get()))
            texts << static_cast<const gre::CGreLayerText*>(group->GetLayer(0))->GetText();
    }
    return texts;
}

class ImageText : public ::testing::Test
{
protected:
    QString Store(gre::CGrePipeline pipeline, int sizeMode = gre::SizeModeFixed)
    {
        pipeline.SetSizeMode(sizeMode);
        const QString key = pipeline.GetHashKey();
        m_newsletter.Project().SetPipeline(key, pipeline.Clone());
        return key;
    }

    ndb::CNdbNewsletter m_newsletter;
    FakeContext m_context{&m_newsletter};
};
} // namespace

TEST_F(ImageText, RowsShowTheVisibleTopLevelTextLayers)
{
    struct Case
    {
        int layers;
        QString enabled; // rows, 'E' enabled or '-'
        bool note;
    };
    const Case cases[] = {{2, "EE---", false}, {5, "EEEEE", false}, {7, "EEEEE", true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.layers);
        gre::CGrePipeline pipeline;
        pipeline.GetRootGroup().AddLayer(TextLayer(QStringLiteral("hidden"), false));
        auto group = std::make_unique<gre::CGreLayerGroup>();
        group->AddLayer(TextLayer(QStringLiteral("grouped")));
        pipeline.GetRootGroup().AddLayer(std::move(group));
        QStringList expected{"hidden", "grouped"};
        for (int i = 1; i <= c.layers; ++i)
        {
            pipeline.GetRootGroup().AddLayer(TextLayer(QStringLiteral("t%1").arg(i)));
            expected << (i <= 5 ? QStringLiteral("new %1").arg(i) : QStringLiteral("t%1").arg(i));
        }
        const QString key = Store(pipeline);
        ModalScript script;
        script.ThenTitled(Title,
                          [&](QWidget* w)
                          {
                              QString enabled;
                              for (int row = 0; row < 5; ++row)
                              {
                                  enabled += Item(w, IdFirstEdit + row)->isEnabled() ? u'E' : u'-';
                                  EXPECT_EQ(Item(w, IdFirstLabel + row)->isEnabled(), c.layers > row);
                                  EXPECT_EQ(Text(w, IdFirstEdit + row),
                                            row < c.layers ? QStringLiteral("t%1").arg(row + 1) : QString());
                                  if (row < c.layers)
                                      TypeInto(w, IdFirstEdit + row, QStringLiteral("new %1").arg(row + 1));
                              }
                              EXPECT_EQ(enabled, c.enabled);
                              EXPECT_EQ(Item(w, IdNote)->isVisible(), c.note);
                              Click(w, IDOK);
                          });
        script.Start();
        QString newKey;
        EXPECT_EQ(ChangeImageEffectText(m_context, key, newKey), ImageTextChange::Changed);
        EXPECT_TRUE(script.Finished());
        ASSERT_TRUE(m_newsletter.Project().GetPipeline(newKey));
        EXPECT_EQ(Texts(*m_newsletter.Project().GetPipeline(newKey)), expected);
        EXPECT_NE(Texts(*m_newsletter.Project().GetPipeline(key)), expected);
    }
}

TEST_F(ImageText, NothingIsStoredUnlessTheTextsChangeTheEffect)
{
    gre::CGrePipeline pipeline;
    pipeline.GetRootGroup().AddLayer(TextLayer(QStringLiteral("Sale")));
    struct Case
    {
        const char* name;
        int sizeMode;
        int button;
        QString typed; // empty: the text stays
        ImageTextChange result;
    };
    const Case cases[] = {
        {"ok untouched", gre::SizeModeFixed, IDOK, {}, ImageTextChange::Unchanged},
        {"cancel", gre::SizeModeFixed, IDCANCEL, QStringLiteral("Sold"), ImageTextChange::Unchanged},
        // The copy's layers have new ids, so its key differs: Cancel still keeps the address.
        {"cancel, sized by layer", gre::SizeModeLayer, IDCANCEL, {}, ImageTextChange::Unchanged},
        {"edited", gre::SizeModeFixed, IDOK, QStringLiteral("Sold"), ImageTextChange::Changed},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_newsletter.Project().RemoveAllPipelines();
        auto stored = pipeline.Clone();
        if (c.sizeMode == gre::SizeModeLayer)
        {
            // As read back from a file: the stored id is the key of layers that no longer exist.
            stored->GetRootGroup().GetLayer(0)->SetSizeLayer(true);
        }
        const QString key = Store(*stored, c.sizeMode);
        if (c.sizeMode == gre::SizeModeLayer)
        {
            auto fresh = std::make_unique<gre::CGrePipeline>();
            fresh->SetSizeMode(c.sizeMode);
            fresh->GetRootGroup().AddLayer(TextLayer(QStringLiteral("Sale")));
            m_newsletter.Project().SetPipeline(key, std::move(fresh));
        }
        ModalScript script;
        script.ThenTitled(Title,
                          [&](QWidget* w)
                          {
                              if (!c.typed.isEmpty())
                                  TypeInto(w, IdFirstEdit, c.typed);
                              Click(w, c.button);
                          });
        script.Start();
        QString newKey;
        EXPECT_EQ(ChangeImageEffectText(m_context, key, newKey), c.result);
        EXPECT_EQ(m_newsletter.Project().GetPipelines().size(),
                  c.result == ImageTextChange::Changed ? 2u : 1u);
        EXPECT_EQ(newKey.isEmpty(), c.result != ImageTextChange::Changed);
    }
}

TEST_F(ImageText, EffectWithoutVisibleTextTellsTheUser)
{
    gre::CGrePipeline images;
    images.GetRootGroup().AddLayer(std::make_unique<gre::CGreLayerImage>());
    const QString imageOnly = Store(images);
    for (const QString& id : {imageOnly, QStringLiteral("missing"), QString()})
    {
        ModalScript script;
        script.ThenShowing(NoTextEffect, [](QWidget* w) { ClickButton(w, QStringLiteral("OK")); });
        script.Start();
        QString newKey;
        EXPECT_EQ(ChangeImageEffectText(m_context, id, newKey), ImageTextChange::NoTextEffect);
        EXPECT_TRUE(script.Finished());
    }
}
