#include "EffectsTestSupport.h"
#include "effects/DlgPipelineLibrary.h"
#include "effects/EffectLibraryContext.h"

#include "servicesui/ServicesUiSupport.h"

#include "base/AppSettings.h"
#include "platform/ui/IEBrowser.h"
#include "services/ConceptTemplateFile.h"
#include "services/ConceptTemplateFolder.h"
#include "services/GalleryPage.h"

using namespace DialogTest;
using namespace EffectsTest;

namespace
{
constexpr int IdCategories = 1284;
const QString HostileName = QStringLiteral("<b>Glow</b> \"&' ");
const QString HostileId = QStringLiteral("a__FILE__b');alert('x");

// Keeps what the gallery puts into the web store; the browser is sent nowhere.
class PageStore : public IEffectLibraryContext
{
public:
    void StoreInWebStore(const QString& name, const QByteArray&, const QString&) override
    {
        pictures << name;
    }
    void PutPageInWebStore(const QString&, const QString& page) override { pages << page; }
    QString MakeServerUrl(const QString&) const override { return QStringLiteral("about:blank"); }

    QStringList pages;
    QStringList pictures;
};

std::unique_ptr<CConceptTemplateFolder> Category(const QString& id, int effects, bool initial = false)
{
    auto category = std::make_unique<CConceptTemplateFolder>();
    category->SetId(id);
    category->SetName(id);
    category->SetInitialFolder(initial);
    for (int i = 0; i < effects; ++i)
    {
        auto effect = std::make_unique<CConceptTemplateFile>();
        effect->SetId(i == 1 ? HostileId + id : id + QString::number(i));
        effect->SetName(i == 1 ? HostileName : id + QString::number(i));
        effect->SetSmallIconUrl(QStringLiteral(KV_SOURCE_DIR "/data/library/pipelines/Sale_en.png"));
        category->AppendChild(std::move(effect));
    }
    return category;
}

LRESULT Navigate(QWidget* window, const QString& address)
{
    return CWnd::FromHandle(window)->SendMessage(UM_BROWSER_BEFORE_NAVIGATE, 4711, LPARAM(&address));
}
} // namespace

TEST(EffectGallery, PagesOfTheCategoriesAndTheSelectionTheyMake)
{
    const ServicesUi::ScopedSettings settings;
    CConceptTemplateFolder catalogue;
    catalogue.AppendChild(Category(QStringLiteral("Empty"), 0));
    catalogue.AppendChild(Category(QStringLiteral("Three"), 3, true));
    catalogue.AppendChild(Category(QStringLiteral("Four"), 4, true));
    PageStore store;
    CDlgPipelineLibrary gallery(&store, &catalogue, false);
    CConceptTemplateBase* hostile =
        catalogue.GetChild(2)->IsFolder()
            ? static_cast<CConceptTemplateFolder*>(catalogue.GetChild(2))->GetChild(1)
            : nullptr;
    WhenModal(
        [&]
        {
            QWidget* window = QApplication::activeModalWidget();
            // The later initial category is shown first.
            ASSERT_EQ(store.pages.size(), 1);
            const QString four = store.pages.last();
            EXPECT_TRUE(four.contains(QLatin1String("display: block")));
            for (const char* cell : {"fileid0", "fileid1", "fileid2", "fileid3"})
                EXPECT_TRUE(four.contains(QLatin1String(cell))) << cell;
            EXPECT_TRUE(four.contains(QLatin1String("</tr>\n<tr>")));
            EXPECT_EQ(four.count(QLatin1String("<td>&nbsp;</td>")), 2);
            EXPECT_FALSE(four.contains(QLatin1String("<b>Glow")));
            EXPECT_FALSE(four.contains(QLatin1String("alert('x")));
            EXPECT_FALSE(four.contains(QLatin1String("[FILES]")));
            EXPECT_EQ(store.pictures.size(), 5); // four thumbnails and the selection frame

            EXPECT_FALSE(Item(window, IDOK)->isEnabled());
            const QString link =
                GalleryPage::MakeLink(QStringLiteral("Four"), HostileId + QStringLiteral("Four"));
            EXPECT_TRUE(four.contains(link));
            EXPECT_EQ(Navigate(window, QStringLiteral("http://localhost/webstore/") + link), 1);
            EXPECT_TRUE(Item(window, IDOK)->isEnabled());
            EXPECT_EQ(gallery.GetSelectedEffect(), hostile);
            // A folder's id selects nothing, and the page's own addresses load.
            EXPECT_EQ(
                Navigate(window, GalleryPage::MakeLink(QStringLiteral("Four"), QStringLiteral("Three"))), 1);
            EXPECT_FALSE(Item(window, IDOK)->isEnabled());
            EXPECT_EQ(Navigate(window, QStringLiteral("x__EMTPY__")), 1);
            EXPECT_EQ(Navigate(window, QStringLiteral("http://localhost/webstore/dlgpipelinelibrary.htm")),
                      0);
            EXPECT_EQ(Navigate(window, link), 1);

            ClickRow(window, IdCategories, 0);
            ASSERT_EQ(store.pages.size(), 2);
            EXPECT_TRUE(store.pages.last().contains(QLatin1String("<tr></tr>")));
            ClickRow(window, IdCategories, 1);
            ASSERT_EQ(store.pages.size(), 3);
            EXPECT_TRUE(store.pages.last().contains(QLatin1String("fileid2")));
            EXPECT_FALSE(store.pages.last().contains(QLatin1String("&nbsp;")));
            Click(window, IDOK);
        });
    EXPECT_EQ(gallery.DoModal(), IDOK);
    EXPECT_EQ(gallery.GetSelectedEffect(), hostile);
}

TEST(EffectGallery, NoticeOfTheMissingConnectionShowsOnlyOffline)
{
    const ServicesUi::ScopedSettings settings;
    const struct
    {
        bool online;
        int localMode; // -1: not set
        const char* display;
    } cases[] = {
        {false, -1, "block"}, {false, 1, "none"}, {false, 0, "block"}, {true, -1, "none"}, {true, 0, "none"}};
    for (const auto& c : cases)
    {
        if (c.localMode >= 0)
            WriteAppSettingDword(HKEY_CURRENT_USER, QStringLiteral("RunInLocalMode"), quint32(c.localMode));
        CConceptTemplateFolder catalogue;
        catalogue.AppendChild(Category(QStringLiteral("One"), 1));
        PageStore store;
        CDlgPipelineLibrary gallery(&store, &catalogue, c.online);
        WhenModal([]() { Click(QApplication::activeModalWidget(), IDCANCEL); });
        EXPECT_EQ(gallery.DoModal(), IDCANCEL);
        ASSERT_EQ(store.pages.size(), 1);
        EXPECT_TRUE(store.pages.last().contains(QStringLiteral("display: ") + QLatin1String(c.display)))
            << c.online << " " << c.localMode;
        EXPECT_EQ(gallery.GetSelectedEffect(), nullptr);
    }
}
