#include "PageClicks.h"
#include "app/ShellTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "editor/WndLayout.h"
#include "effects/EffectsTestSupport.h"
#include "gre/GreLayerText.h"
#include "gre/GreProject.h"
#include "ndb/NdbResource.h"
#include "platform/ui/HtmlDocument.h"

#include <QBuffer>
#include <QWebEngineScript>
#include <QWebEngineView>

using namespace ShellTest;

namespace
{
const QString ResourceGuid = QStringLiteral("{6F1D2C3B-0000-4000-8000-0000000000E1}");

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

QByteArray PngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(40, 90, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::unique_ptr<ndb::CNdbResource> PictureResource()
{
    auto resource = std::make_unique<ndb::CNdbResource>();
    resource->SetPayload(PngBytes(60, 30));
    resource->SetField(ndb::ResourceId, ndb::CNdbFieldValue(ResourceGuid));
    resource->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(QStringLiteral("img/photo.png")));
    resource->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(QStringLiteral("photo.png")));
    resource->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(QStringLiteral("image/png")));
    resource->SetField(ndb::ResourceWidth, ndb::CNdbFieldValue(ndb::NdbValueInt, 60));
    resource->SetField(ndb::ResourceHeight, ndb::CNdbFieldValue(ndb::NdbValueInt, 30));
    return resource;
}

const auto Titled = [](const char* title)
{ return [title](QWidget* w) { return w->windowTitle() == QLatin1String(title); }; };

class ImageEffectCommands : public ShellProgram
{
protected:
    // A newsletter whose picture carries a text effect, and the user's effect library holding
    // one localised effect; the store is out of reach.
    CWndLayout& OpenLetter()
    {
        const QString library = m_home.filePath(QStringLiteral("effects"));
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

        ndb::CNdbNewsletter letter(QStringLiteral("June"));
        letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
        auto effect = TextEffect(QStringLiteral("Banner"), QString(), QStringLiteral("Old text"));
        m_startKey = effect->GetHashKey();
        letter.Project().SetPipeline(m_startKey, std::move(effect));
        letter.Layout().SetField(
            ndb::LayoutHtml,
            ndb::CNdbFieldValue(QStringLiteral("<p>Picture <img src=\"img/photo.png?pid=%1\" "
                                               "name=\"src_ResID:%2;\" /> end</p>")
                                    .arg(m_startKey, ResourceGuid)));
        letter.Layout().AddResource(PictureResource());
        EXPECT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));

        CMainWnd& window = StartProgram();
        m_window = &window;
        WriteAppSettingString(HKEY_CURRENT_USER, QStringLiteral("PipelinesCustomPath"), library);
        WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("StoreAddress"),
                              QStringLiteral("http://127.0.0.1:9"));
        window.MoveWindow(0, 0, 1000, 740);
        EXPECT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
        CWndLayout& layout = window.GetNewsletterView().GetLayout();
        m_layout = &layout;
        EXPECT_TRUE(QTest::qWaitFor([&] { return Source().contains("photo.png"); }, 30000));
        PressKey(window, Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(layout.IsEditing());
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return Run("document.images[0].naturalWidth").toInt() > 0; }, 10000));
        return layout;
    }

    QVariant Run(const QString& script)
    {
        auto* view = qobject_cast<QWebEngineView*>(m_layout->GetBrowser().GetSafeHwnd());
        QVariant result;
        bool done = false;
        view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                    [&](const QVariant& value)
                                    {
                                        result = value;
                                        done = true;
                                    });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000)) << script.toStdString();
        return result;
    }

    // The picture's address as the page holds it.
    QString Source()
    {
        return Run(QStringLiteral("document.images.length ? document.images[0].getAttribute('src') : ''"))
            .toString();
    }

    QPoint PictureCentre()
    {
        const QVariantList point =
            Run(QStringLiteral(
                    "(function () { const r = document.images[0].getBoundingClientRect();"
                    " return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)]; })()"))
                .toList();
        return point.size() == 2 ? QPoint(point[0].toInt(), point[1].toInt()) : QPoint();
    }

    QWidget* Page() { return m_layout->GetBrowser().GetSafeHwnd()->focusProxy(); }

    // Right click on the picture, the item from its menu; the script answers what opens.
    void UseContextItem(const QString& item, DialogTest::ModalScript& script)
    {
        const QPoint at = PictureCentre();
        QTest::mouseClick(Page(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::qWait(200);
        bool chosen = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout,
                         [&]
                         {
                             auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                             if (chosen || !menu || !menu->isVisible())
                                 return;
                             chosen = true;
                             for (QAction* action : menu->actions())
                             {
                                 if (action->text() == item)
                                 {
                                     QTest::mouseClick(menu, Qt::LeftButton, {},
                                                       menu->actionGeometry(action).center());
                                     return;
                                 }
                             }
                             ADD_FAILURE() << "no item " << item.toStdString();
                             menu->close();
                         });
        poll.start(30);
        script.Start();
        QTest::mouseClick(Page(), Qt::RightButton, Qt::NoModifier, at);
        EXPECT_TRUE(QTest::qWaitFor([&] { return chosen; }, 10000)) << item.toStdString();
        WaitForScript(script);
    }

    void DoubleClickPicture(Qt::KeyboardModifiers modifiers, DialogTest::ModalScript& script)
    {
        script.Start();
        DoubleClick(Page(), PictureCentre(), modifiers);
        WaitForScript(script);
    }

    static void WaitForScript(DialogTest::ModalScript& script)
    {
        // A dialog still open after a while is closed, so a wrong turn cannot hang the run.
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout,
                         []
                         {
                             if (QWidget* modal = QApplication::activeModalWidget())
                             {
                                 ADD_FAILURE() << "left open: " << modal->windowTitle().toStdString();
                                 modal->close();
                             }
                         });
        guard.start(30000);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return script.Finished() && !QApplication::activeModalWidget(); }, 40000));
        QTest::qWait(150);
    }

    ndb::CNdbNewsletter& Newsletter() { return *m_app->GetContext()->GetCurrentNewsletter(); }

    CMainWnd* m_window = nullptr;
    CWndLayout* m_layout = nullptr;
    QString m_startKey;
    QString m_libraryKey;
};
} // namespace

// The effect commands as a user reaches them: new texts and the removal from the menu, an
// effect from the library by a double click. Each points the
// picture at the effect's own key in one undo step; stored effects never change.
TEST_F(ImageEffectCommands, EffectsOfAPictureFromTheMenuAndByDoubleClick)
{
    OpenLetter();
    const QString plain = QStringLiteral("img/photo.png");
    EXPECT_EQ(Source(), plain + "?pid=" + m_startKey);

    DialogTest::ModalScript text;
    text.Then(Titled("Text for Image Effect"),
              [](QWidget* window)
              {
                  DialogTest::TypeOver(DialogTest::Widget(CWnd::FromHandle(window)->GetDlgItem(1655)),
                                       QStringLiteral("New text"));
                  DialogTest::ClickButton(window, QStringLiteral("OK"));
              });
    UseContextItem(QStringLiteral("Change Image Text..."), text);
    const QString textKey = TextEffect("Banner", QString(), "New text")->GetHashKey();
    EXPECT_EQ(Source(), plain + "?pid=" + textKey);
    EXPECT_NE(Newsletter().Project().GetPipeline(m_startKey), nullptr) << "the old effect stays";

    DialogTest::ModalScript reset;
    reset.Then([](QWidget* w) { return DialogTest::ShowsText(w, "remove the Image Style"); },
               [](QWidget* window) { DialogTest::ClickButton(window, QStringLiteral("Yes")); });
    UseContextItem(QStringLiteral("Reset Image Effect"), reset);
    EXPECT_EQ(Source(), plain);
    // Without an effect there is nothing to reset and nothing is asked.
    DialogTest::ModalScript none;
    UseContextItem(QStringLiteral("Reset Image Effect"), none);
    EXPECT_EQ(Source(), plain);

    DialogTest::ModalScript gallery;
    gallery.Then(Titled("Image Effect Library"),
                 [](QWidget* window)
                 {
                     QWebEngineView* view = EffectsTest::GalleryPage(window);
                     ASSERT_TRUE(view);
                     EXPECT_TRUE(EffectsTest::ClickGalleryCell(window, view, 0));
                     EffectsTest::Click(window, IDOK);
                 });
    DoubleClickPicture(Qt::NoModifier, gallery);
    EXPECT_EQ(Source(), plain + "?pid=" + m_libraryKey) << "the library's effect, localised";
    ASSERT_NE(Newsletter().Project().GetPipeline(m_libraryKey), nullptr);
    EXPECT_EQ(Newsletter().Project().GetPipeline(m_libraryKey)->GetName(), "Sun glow");

    std::unique_ptr<CHtmlDocument> document;
    ASSERT_TRUE(m_layout->GetBrowser().GetDHtmlDocument(document));
    EXPECT_EQ(document->GetUndoTitles().value(0), "Image Pipeline Library");
    ASSERT_TRUE(ChooseMenuItem(*m_window, {"&Edit", "&Undo\tCtrl+Z"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Source() == plain; }, 5000)) << "one Undo takes the effect back";
}
