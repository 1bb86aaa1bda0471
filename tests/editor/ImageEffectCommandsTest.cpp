#include "EditorSession.h"
#include "PageClicks.h"
#include "effects/EffectsTestSupport.h"
#include "gre/GreLayerText.h"
#include "gre/GreProject.h"
#include "ndb/NdbResource.h"
#include "res/dialogs/ImageEffectSetText.h"
#include "res/dialogs/PipelineProperties.h"

using namespace ShellTest;

namespace
{
const QString ResourceGuid = QStringLiteral("{6F1D2C3B-0000-4000-8000-0000000000E1}");
const QString Plain = QStringLiteral("img/photo.png");
constexpr int FirstTextEdit = IDC_FIRST_EDIT;
constexpr int MoreTextsNote = IDC_NOTE;
constexpr int EffectLayers = IDC_LAYER_LIST;

std::unique_ptr<gre::CGreLayerText> TextLayer(const QString& text, bool visible)
{
    auto layer = std::make_unique<gre::CGreLayerText>();
    layer->SetName(text);
    layer->SetText(text);
    layer->SetVisible(visible);
    return layer;
}

std::unique_ptr<gre::CGrePipeline> TextEffect(const QString& name, const QString& category,
                                              const QString& text)
{
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetName(name);
    pipeline->SetCategory(category);
    auto layer = std::make_unique<gre::CGreLayerText>();
    layer->SetText(text);
    layer->SetVisible(true);
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    return pipeline;
}

// A hidden text layer under seven visible ones, "Line 1" to "Line 7".
std::unique_ptr<gre::CGrePipeline> BannerEffect()
{
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetName(QStringLiteral("Banner"));
    pipeline->GetRootGroup().AddLayer(TextLayer(QStringLiteral("Hidden"), false));
    for (int line = 1; line <= 7; ++line)
        pipeline->GetRootGroup().AddLayer(TextLayer(QStringLiteral("Line %1").arg(line), true));
    return pipeline;
}

QStringList Texts(const gre::CGrePipeline& pipeline)
{
    QStringList texts;
    for (const auto& layer : pipeline.GetRootGroup().GetLayers())
    {
        if (const auto* text = dynamic_cast<const gre::CGreLayerText*>(layer.get()))
            texts << (text->IsVisible() ? text->GetText() : u'(' + text->GetText() + u')');
    }
    return texts;
}

QStringList Keys(const gre::CGreProject& project)
{
    QStringList keys;
    for (const auto& [key, pipeline] : project.GetPipelines())
        keys << key;
    return keys;
}

std::unique_ptr<ndb::CNdbResource> PictureResource()
{
    auto resource = EffectsTest::ImageResource(60, 30);
    resource->SetField(ndb::ResourceId, ndb::CNdbFieldValue(ResourceGuid));
    resource->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(QStringLiteral("image/png")));
    resource->SetField(ndb::ResourceWidth, ndb::CNdbFieldValue(ndb::NdbValueInt, 60));
    resource->SetField(ndb::ResourceHeight, ndb::CNdbFieldValue(ndb::NdbValueInt, 30));
    return resource;
}

using DialogTest::Titled;

// In the effect library, the first effect clicked, then the button.
DialogTest::ModalScript::Step PickFirstEffect(int button)
{
    return [button](QWidget* window)
    {
        QWebEngineView* view = EffectsTest::GalleryPage(window);
        ASSERT_TRUE(view);
        EXPECT_TRUE(EffectsTest::ClickGalleryCell(window, view, 0));
        EffectsTest::Click(window, button);
    };
}

const auto AsksToRemove = [](QWidget* w)
{
    auto* box = dynamic_cast<CDlgMessageBox*>(CWnd::FromHandle(w));
    return box && box->m_text == QLatin1String("Are you sure you wish to remove the Image Style?");
};

class ImageEffectCommands : public EditorSession
{
protected:
    // A newsletter whose picture carries the banner effect, and the user's effect library holding
    // one localised effect; the store is out of reach and no library is installed.
    void OpenLetter()
    {
        UseOwnDataFolder();
        const QString library = Path(QStringLiteral("effects"));
        QDir().mkpath(library);
        gre::CGreProject file;
        auto glow =
            TextEffect(QStringLiteral("_(name)_"), QStringLiteral("Glows"), QStringLiteral("_(text)_"));
        const QString glowKey = glow->GetHashKey();
        file.SetPipeline(glowKey, std::move(glow));
        EXPECT_TRUE(file.SaveToFile(library + QStringLiteral("/glow.kvnlp"), QStringLiteral("test")));
        QFile localisation(library + QStringLiteral("/glow_en.xml"));
        EXPECT_TRUE(localisation.open(QIODevice::WriteOnly));
        localisation.write("<zqlocalizationdata><replace key=\"name\">Sun glow</replace>"
                           "<replace key=\"text\">Summer sale</replace></zqlocalizationdata>");
        localisation.close();
        m_libraryKey = TextEffect("Sun glow", "Glows", "Summer sale")->GetHashKey();
        WriteAppSettingString(HKEY_CURRENT_USER, QStringLiteral("PipelinesCustomPath"), library);
        WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("StoreAddress"),
                              QStringLiteral("http://127.0.0.1:9"));

        ndb::CNdbNewsletter letter(QStringLiteral("June"));
        letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
        auto banner = BannerEffect();
        m_startKey = banner->GetHashKey();
        letter.Project().SetPipeline(m_startKey, std::move(banner));
        letter.Layout().SetField(ndb::LayoutHtml,
                                 ndb::CNdbFieldValue(QStringLiteral("<p>Picture <img src=\"%1?pid=%2\" "
                                                                    "name=\"src_ResID:%3;\" /> end</p>")
                                                         .arg(Plain, m_startKey, ResourceGuid)));
        letter.Layout().AddResource(PictureResource());
        EXPECT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
        EditNewsletter(Document("June.kvnl"), QStringLiteral("Picture"));
        EXPECT_EQ(Source(), Plain + "?pid=" + m_startKey);
    }

    // The picture's address as the page holds it, once the picture it names has come.
    QString Source()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return PicturesLoaded(); }, 10000));
        return Run(QStringLiteral("document.images[0].getAttribute('src')")).toString();
    }

    QString EffectKey() { return Source().section(QStringLiteral("?pid="), 1); }

    void DoubleClickPicture(Qt::KeyboardModifiers modifiers, DialogTest::ModalScript& script)
    {
        script.Start();
        DoubleClick(Page(), SettledCentreOf(QStringLiteral("img")), modifiers);
        WaitForScript(script);
    }

    void Undo(const QString& source)
    {
        ASSERT_TRUE(ChooseMenuItem(*m_window, {"&Edit", "&Undo\tCtrl+Z"}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Source() == source; }, 10000))
            << "one Undo gives back " << source.toStdString();
    }

    ndb::CNdbNewsletter& Newsletter() { return *m_app->GetContext()->GetCurrentNewsletter(); }

    QString m_startKey;
    QString m_libraryKey;
};
} // namespace

// New texts for the effect from the picture's menu: the first five visible text layers are
// offered, Cancel or OK without a change keep everything, a changed text stores a changed copy;
// Reset asks first and leaves the effects stored; one Undo gives the picture its effect back.
TEST_F(ImageEffectCommands, TextsOfTheEffectThenResetAndUndo)
{
    OpenLetter();
    const QString page = Body();

    // Cancel after typing, and OK without a change, keep the picture's effect.
    for (const bool typed : {true, false})
    {
        DialogTest::ModalScript untouched;
        untouched.Then(Titled("Text for Image Effect"),
                       [typed](QWidget* window)
                       {
                           if (typed)
                               EffectsTest::TypeInto(window, FirstTextEdit + 1, QStringLiteral("Never"));
                           EffectsTest::Click(window, typed ? IDCANCEL : IDOK);
                       });
        UseContextItem(QStringLiteral("img"), QStringLiteral("Change Image Text..."), untouched);
        EXPECT_EQ(Body(), page) << typed;
        EXPECT_EQ(Keys(Newsletter().Project()), QStringList{m_startKey}) << typed;
        EXPECT_TRUE(UndoTitles().isEmpty()) << typed;
    }

    QStringList offered;
    bool allEnabled = true;
    bool noteShown = false;
    DialogTest::ModalScript text;
    text.Then(Titled("Text for Image Effect"),
              [&](QWidget* window)
              {
                  for (int row = 0; row < 5; ++row)
                  {
                      offered << EffectsTest::Text(window, FirstTextEdit + row);
                      allEnabled = allEnabled && EffectsTest::Item(window, FirstTextEdit + row)->isEnabled();
                  }
                  noteShown = EffectsTest::Item(window, MoreTextsNote)->isVisible();
                  EffectsTest::TypeInto(window, FirstTextEdit + 1, QStringLiteral("Summer & \"sun\""));
                  DialogTest::ClickButton(window, QStringLiteral("OK"));
              });
    UseContextItem(QStringLiteral("img"), QStringLiteral("Change Image Text..."), text);
    EXPECT_EQ(offered, (QStringList{"Line 1", "Line 2", "Line 3", "Line 4", "Line 5"}));
    EXPECT_TRUE(allEnabled);
    EXPECT_TRUE(noteShown) << "more text layers than rows";
    const QString textKey = EffectKey();
    const QString withText = Plain + "?pid=" + textKey;
    ASSERT_NE(textKey, m_startKey);
    ASSERT_NE(Newsletter().Project().GetPipeline(textKey), nullptr);
    EXPECT_EQ(Texts(*Newsletter().Project().GetPipeline(textKey)),
              (QStringList{"(Hidden)", "Line 1", "Summer & \"sun\"", "Line 3", "Line 4", "Line 5", "Line 6",
                           "Line 7"}));
    ASSERT_NE(Newsletter().Project().GetPipeline(m_startKey), nullptr) << "the old effect stays";
    EXPECT_EQ(Texts(*Newsletter().Project().GetPipeline(m_startKey)).value(2), "Line 2");
    EXPECT_EQ(UndoTitles().value(0), "Image Pipeline Library");

    DialogTest::ModalScript keep;
    keep.Then(AsksToRemove, [](QWidget* box) { DialogTest::ClickButton(box, QStringLiteral("No")); });
    UseContextItem(QStringLiteral("img"), QStringLiteral("Reset Image Effect"), keep);
    EXPECT_EQ(Source(), withText);

    DialogTest::ModalScript reset;
    reset.Then(AsksToRemove, [](QWidget* box) { DialogTest::ClickButton(box, QStringLiteral("Yes")); });
    UseContextItem(QStringLiteral("img"), QStringLiteral("Reset Image Effect"), reset);
    EXPECT_EQ(Source(), Plain);
    EXPECT_EQ(UndoTitles().value(0), "Image Pipeline Reset");
    EXPECT_NE(Newsletter().Project().GetPipeline(textKey), nullptr) << "the effect itself stays";

    // Without an effect there is nothing to reset and nothing is asked.
    DialogTest::ModalScript none;
    UseContextItem(QStringLiteral("img"), QStringLiteral("Reset Image Effect"), none);
    EXPECT_EQ(Source(), Plain);

    Undo(withText);
}

// A double click on the picture opens the effect library: the chosen effect joins the newsletter localised,
// one Undo takes it back, and the saved newsletter holds the picture pointed at it with the effect beside it
// and the unused one gone.
TEST_F(ImageEffectCommands, EffectFromTheLibraryByDoubleClickThenSave)
{
    OpenLetter();
    DialogTest::ModalScript gallery;
    gallery.Then(Titled("Image Effect Library"), PickFirstEffect(IDOK));
    DoubleClickPicture(Qt::NoModifier, gallery);
    const QString chosen = Plain + "?pid=" + m_libraryKey;
    EXPECT_EQ(Source(), chosen) << "the library's effect, localised";
    ASSERT_NE(Newsletter().Project().GetPipeline(m_libraryKey), nullptr);
    EXPECT_EQ(Newsletter().Project().GetPipeline(m_libraryKey)->GetName(), "Sun glow");
    EXPECT_EQ(Texts(*Newsletter().Project().GetPipeline(m_libraryKey)), QStringList{"Summer sale"});
    EXPECT_EQ(UndoTitles().value(0), "Image Pipeline Library");

    Undo(Plain + "?pid=" + m_startKey);
    ASSERT_TRUE(ChooseMenuItem(*m_window, {"&Edit", "&Redo\tCtrl+Y"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Source() == chosen; }, 10000));

    PressKey(*m_window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(m_layout->IsEditing());
    PressKey(*m_window, Qt::Key_S, Qt::ControlModifier);
    ndb::CNdbNewsletter saved;
    ASSERT_TRUE(saved.Load(Document("June.kvnl")));
    const QString stored = saved.Layout().GetString(ndb::LayoutHtml);
    EXPECT_TRUE(stored.contains("src=\"" + chosen + "\"")) << stored.toStdString();
    EXPECT_TRUE(stored.contains("src_ResID:" + ResourceGuid + ";")) << stored.toStdString();
    EXPECT_EQ(Keys(saved.Project()), QStringList{m_libraryKey}) << "only the effect in use is kept";
    EXPECT_EQ(saved.Project().GetPipeline(m_libraryKey)->GetName(), "Sun glow");
    const ndb::CNdbResource* picture = saved.Layout().FindResourceById(ResourceGuid);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetPayload(), PictureResource()->GetPayload())
        << "the picture's own file is untouched";
}

// A double click opens the effect library and, with Ctrl, the effect editor; Cancel in either
// keeps everything. In the editor a layer shown or hidden and OK point the picture at the edited
// effect in one undo step.
TEST_F(ImageEffectCommands, EffectEditorByCtrlDoubleClickAndCancelInBothDialogs)
{
    OpenLetter();
    const QString page = Body();
    const auto toggleFirstLayer = [](int button)
    {
        return [button](QWidget* window)
        {
            EffectsTest::ClickCheckBox(window, EffectLayers, 0);
            EffectsTest::Click(window, button);
        };
    };

    DialogTest::ModalScript library;
    library.Then(Titled("Image Effect Library"), PickFirstEffect(IDCANCEL));
    DoubleClickPicture(Qt::NoModifier, library);
    DialogTest::ModalScript editor;
    editor.Then(Titled("Image Effect"), toggleFirstLayer(IDCANCEL));
    DoubleClickPicture(Qt::ControlModifier, editor);
    EXPECT_EQ(Body(), page);
    EXPECT_EQ(Keys(Newsletter().Project()), QStringList{m_startKey});
    EXPECT_TRUE(UndoTitles().isEmpty());

    DialogTest::ModalScript edit;
    edit.Then(Titled("Image Effect"), toggleFirstLayer(IDOK));
    DoubleClickPicture(Qt::ControlModifier, edit);
    const QString editedKey = EffectKey();
    ASSERT_NE(editedKey, m_startKey);
    ASSERT_NE(Newsletter().Project().GetPipeline(editedKey), nullptr);
    const QStringList before = Texts(*Newsletter().Project().GetPipeline(m_startKey));
    const QStringList after = Texts(*Newsletter().Project().GetPipeline(editedKey));
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after[i] != before[i] ? 1 : 0;
    EXPECT_EQ(changed, 1) << after.join(u'|').toStdString();
    EXPECT_EQ(UndoTitles().value(0), "Image Pipeline Properties");

    Undo(Plain + "?pid=" + m_startKey);
}
