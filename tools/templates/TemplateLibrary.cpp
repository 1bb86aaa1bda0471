// Builds the template library of the program from the sources beside this file:
//   kv_template_library <repository root>
// writes data/library/newsletters/: per template a ".kvnlt" file, its localisation data
// "<name>_en.xml" and a 202 x 254 thumbnail of its preview page (drawn offscreen by the
// program's own local server and browser engine), the offline catalogue "kvct_en.xml", the
// default thumbnail and the pictures of the gallery page. Run it again after changing a source;
// the output is committed.
#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "gre/GreEffectDropShadow.h"
#include "gre/GreImageCodecs.h"
#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"
#include "gre/GreRenderGeometry.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/WebEngineSetup.h"
#include "services/NewsletterLocalisation.h"
#include "services/TemplateLocalisation.h"
#include "tools/templates/TemplatePictures.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>

namespace
{
const QSize BannerSize(600, 170);
const QSize PictureSize(240, 170);
const QSize ThumbnailSize(202, 254);
// The preview is drawn at about three times the thumbnail and scaled down.
const QSize PreviewSize(640, 805);
const QString Creator = QStringLiteral("Kelvora");

struct Colour
{
    const char* key;
    QRgb rgb;
};

struct TemplateSource
{
    const char* folder;
    const char* base;
    const char* id;
    const char* art;
    const char* date; // "datecreated" of the catalogue
    const char* headingFont;
    const char* bodyFont;
    Colour colours[5]; // dark, light, accent, paper, page
};

const TemplateSource Sources[] = {
    {"business",
     "harbour",
     "KV_BUSINESS_HARBOUR",
     "harbour",
     "2026,11,20,0,0,0",
     "Georgia, Times New Roman, serif",
     "Verdana, Arial, sans-serif",
     {{"dark", 0xff17406d},
      {"light", 0xff8fc1e3},
      {"accent", 0xffd9822b},
      {"paper", 0xffffffff},
      {"page", 0xffe4ebf2}}},
    {"business",
     "quarterly",
     "KV_BUSINESS_QUARTERLY",
     "meadow",
     "2026,9,14,0,0,0",
     "Arial, Helvetica, sans-serif",
     "Arial, Helvetica, sans-serif",
     {{"dark", 0xff2f5d3a},
      {"light", 0xffa9d18e},
      {"accent", 0xffc0622f},
      {"paper", 0xfffcfcf7},
      {"page", 0xffe9eee4}}},
    {"shops",
     "market",
     "KV_SHOPS_MARKET",
     "market",
     "2026,12,1,0,0,0",
     "Trebuchet MS, Verdana, sans-serif",
     "Verdana, Arial, sans-serif",
     {{"dark", 0xffb8432b},
      {"light", 0xfff6d27a},
      {"accent", 0xff3f8f3a},
      {"paper", 0xfffffdf6},
      {"page", 0xfff6ecd9}}},
    {"shops",
     "club",
     "KV_SHOPS_CLUB",
     "club",
     "2026,7,3,0,0,0",
     "Trebuchet MS, Verdana, sans-serif",
     "Verdana, Arial, sans-serif",
     {{"dark", 0xff4b2a6e},
      {"light", 0xffc3a6e6},
      {"accent", 0xffe0564b},
      {"paper", 0xffffffff},
      {"page", 0xffece6f3}}},
};

struct FolderSource
{
    const char* id;
    const char* path;
    const char* name;
    bool initial;
};

const FolderSource Folders[] = {
    {"KV_BUSINESS", "business", "Business", true},
    {"KV_SHOPS", "shops", "Shops and Clubs", false},
};

// A GUID text made from a seed, so that every run writes the same identifiers.
QString FixedGuid(const QString& seed)
{
    const QString hex =
        QString::fromLatin1(QCryptographicHash::hash(seed.toUtf8(), QCryptographicHash::Md5).toHex())
            .toUpper();
    return QStringLiteral("{%1-%2-%3-%4-%5}")
        .arg(hex.mid(0, 8), hex.mid(8, 4), hex.mid(12, 4), hex.mid(16, 4), hex.mid(20, 12));
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QByteArray Encode(const QImage& image, const char* mime)
{
    QByteArray bytes;
    if (!gre::EncodeImage(image, QLatin1String(mime), bytes))
    {
        std::fprintf(stderr, "cannot encode %s\n", mime);
        std::exit(1);
    }
    return bytes;
}

class TemplateBuilder
{
public:
    explicit TemplateBuilder(const TemplateSource& source) : m_source(source) {}

    std::unique_ptr<ndb::CNdbNewsletter> Build(const QString& layoutHtml)
    {
        auto newsletter = std::make_unique<ndb::CNdbNewsletter>(QStringLiteral("_(title)_"));
        m_newsletter = newsletter.get();
        newsletter->SetField(ndb::NewsletterId, ndb::CNdbFieldValue(Guid(QStringLiteral("newsletter"))));
        newsletter->SetField(ndb::NewsletterTemplateFlag, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
        AddPalette();
        AddStyles();
        const QString banner =
            AddImage(QStringLiteral("banner"),
                     TemplatePictures::Banner(m_source.art, Rgb(0), Rgb(1), BannerSize), AddBannerEffect());
        const QString picture =
            AddImage(QStringLiteral("picture"),
                     TemplatePictures::Illustration(m_source.art, Rgb(0), Rgb(1), PictureSize), {});
        QString html = layoutHtml;
        html.replace(QLatin1String("[IMG:banner]"), banner);
        html.replace(QLatin1String("[IMG:picture]"), picture);
        for (const Colour& colour : m_source.colours)
            html.replace(QStringLiteral("[COLOUR:%1]").arg(QLatin1String(colour.key)),
                         ndb::CNdbColor(ColourKey(colour.key)).ToText());
        ndb::CNdbLayout& layout = newsletter->Layout();
        layout.SetField(ndb::LayoutName, ndb::CNdbFieldValue(QStringLiteral("_(title)_")));
        layout.SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(html));
        layout.SetField(ndb::LayoutPlainText, ndb::CNdbFieldValue(QStringLiteral("_(plain_text)_")));
        return newsletter;
    }

private:
    QString Guid(const QString& what) const { return FixedGuid(QLatin1String(m_source.base) + u'/' + what); }
    QString ColourKey(const char* key) const { return Guid(QStringLiteral("colour/") + QLatin1String(key)); }
    QColor Rgb(int index) const { return QColor::fromRgb(m_source.colours[index].rgb); }
    ndb::CNdbFieldValue PaletteColour(const char* key) const
    {
        return ndb::CNdbFieldValue(ndb::CNdbColor(ColourKey(key)));
    }

    void AddPalette()
    {
        ndb::CNdbPalette& palette = m_newsletter->Palette();
        palette.SetField(110, ndb::CNdbFieldValue(QStringLiteral("_(palette_name)_")));
        for (const Colour& colour : m_source.colours)
        {
            const QColor rgb = QColor::fromRgb(colour.rgb);
            palette.AddColor(QStringLiteral("_(colour_%1)_").arg(QLatin1String(colour.key)),
                             ColourKey(colour.key),
                             ndb::CNdbRgba(quint8(rgb.red()), quint8(rgb.green()), quint8(rgb.blue())));
        }
    }

    // The built-in styles in the template's fonts and colours, and three class styles.
    void AddStyles()
    {
        m_newsletter->EnsureDefaultStyles();
        const auto tune = [&](const char* tag, const char* font, float points, const char* colour)
        {
            ndb::CNdbStyle* style = m_newsletter->FindStyleByTag(QLatin1String(tag));
            style->SetField(ndb::StyleFontFamily, ndb::CNdbFieldValue(QLatin1String(font)));
            style->SetField(ndb::StyleFontSize, ndb::CNdbFieldValue(points, ndb::NdbUnitPt));
            style->SetField(ndb::StyleColor, PaletteColour(colour));
            return style;
        };
        tune("h1", m_source.headingFont, 21, "dark")
            ->SetField(ndb::StyleMarginBottom, ndb::CNdbFieldValue(6.0f, ndb::NdbUnitPx));
        tune("h2", m_source.headingFont, 14, "accent")
            ->SetField(ndb::StyleFontStyle, ndb::CNdbFieldValue(ndb::NdbValueFontStyle, 0));
        tune("h3", m_source.headingFont, 12, "dark");
        ndb::CNdbStyle* normal = tune("normal", m_source.bodyFont, 10, "dark");
        normal->SetField(ndb::StyleColor, ndb::CNdbFieldValue(ndb::CNdbColor(0x33, 0x33, 0x33)));
        normal->SetField(ndb::StyleLineHeight, ndb::CNdbFieldValue(150.0f, ndb::NdbUnitPercent));
        normal->SetField(ndb::StyleMarginBottom, ndb::CNdbFieldValue(10.0f, ndb::NdbUnitPx));

        AddClassStyle(1000, QStringLiteral("_(style_caption)_"), 8,
                      ndb::CNdbFieldValue(ndb::CNdbColor(0x70, 0x70, 0x70)), true);
        AddClassStyle(1001, QStringLiteral("_(style_highlight)_"), 11, PaletteColour("accent"), false)
            ->SetField(ndb::StyleFontWeight, ndb::CNdbFieldValue(ndb::NdbValueFontWeight, 1));
        AddClassStyle(1002, QStringLiteral("_(style_footer)_"), 8, PaletteColour("paper"), false);
        m_newsletter->SetField(ndb::NewsletterLastClassStyle, ndb::CNdbFieldValue(ndb::NdbValueInt, 1002));

        ndb::CNdbStyle& page = m_newsletter->Layout().PageStyle();
        page.SetField(ndb::StyleBackgroundColor, PaletteColour("page"));
        page.SetField(ndb::StylePaddingTop, ndb::CNdbFieldValue(20.0f, ndb::NdbUnitPx));
        page.SetField(ndb::StylePaddingBottom, ndb::CNdbFieldValue(20.0f, ndb::NdbUnitPx));
        page.SetField(ndb::StyleLinkColor, PaletteColour("accent"));
    }

    ndb::CNdbStyle* AddClassStyle(int number, const QString& name, float points,
                                  const ndb::CNdbFieldValue& colour, bool italic)
    {
        auto style = std::make_unique<ndb::CNdbStyle>();
        style->SetField(ndb::StyleElementFlag, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
        style->SetField(ndb::StyleDisplayName, ndb::CNdbFieldValue(name));
        style->SetField(ndb::StyleRuleName, ndb::CNdbFieldValue(QStringLiteral("c%1").arg(number)));
        style->SetField(ndb::StyleFontFamily, ndb::CNdbFieldValue(QLatin1String(m_source.bodyFont)));
        style->SetField(ndb::StyleFontSize, ndb::CNdbFieldValue(points, ndb::NdbUnitPt));
        style->SetField(ndb::StyleColor, colour);
        style->SetField(ndb::StyleFontStyle, ndb::CNdbFieldValue(ndb::NdbValueFontStyle, italic ? 1 : 0));
        ndb::CNdbStyle* made = style.get();
        m_newsletter->SetStyle(Guid(QStringLiteral("style/%1").arg(number)), std::move(style));
        return made;
    }

    // The banner's effect: the picture with the template's headline over it, in a shadow.
    QString AddBannerEffect()
    {
        auto pipeline = std::make_unique<gre::CGrePipeline>();
        pipeline->SetName(QStringLiteral("_(effect_name)_"));
        pipeline->SetCategory(QStringLiteral("_(effect_category)_"));
        pipeline->SetSize(BannerSize);
        auto picture = std::make_unique<gre::CGreLayerImage>();
        picture->SetName(QStringLiteral("_(layer_picture)_"));
        picture->SetPlacement(gre::PlacementStretch);
        auto text = std::make_unique<gre::CGreLayerText>();
        text->SetName(QStringLiteral("_(layer_text)_"));
        text->SetText(QStringLiteral("_(banner_text)_"));
        text->SetFontName(QStringLiteral("DejaVu Serif"));
        text->SetSize(38);
        text->SetBold(true);
        text->SetColor(gre::CGreColor(0xff, 0xff, 0xff, 0xff));
        text->SetPlacement(gre::PlacementLeft);
        text->SetMargins(QMargins(30, 0, 0, 24));
        auto shadow = std::make_unique<gre::CGreEffectDropShadow>();
        shadow->SetColor(gre::CGreColor(0, 0, 0, 0xff));
        shadow->SetDistance(3);
        text->AddEffect(std::move(shadow));
        pipeline->GetRootGroup().AddLayer(std::move(picture));
        pipeline->GetRootGroup().AddLayer(std::move(text));
        const QString key = pipeline->GetHashKey();
        m_newsletter->Project().SetPipeline(key, std::move(pipeline));
        return key;
    }

    // Embeds the picture and answers its element as the editor's Insert Image writes it.
    QString AddImage(const QString& role, const QImage& image, const QString& pipeline)
    {
        const QString fileName = QStringLiteral("%1_%2.png").arg(QLatin1String(m_source.base), role);
        const QByteArray bytes = Encode(image, "image/png");
        auto resource = std::make_unique<ndb::CNdbResource>();
        const QString id = Guid(QStringLiteral("image/") + role);
        resource->SetField(ndb::ResourceId, ndb::CNdbFieldValue(id));
        resource->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(QStringLiteral("img/") + fileName));
        resource->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(fileName));
        resource->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(QStringLiteral("image/png")));
        resource->SetField(ndb::ResourceWidth, ndb::CNdbFieldValue(ndb::NdbValueInt, image.width()));
        resource->SetField(ndb::ResourceHeight, ndb::CNdbFieldValue(ndb::NdbValueInt, image.height()));
        resource->SetField(ndb::ResourceSize, ndb::CNdbFieldValue(ndb::NdbValueInt, qint32(bytes.size())));
        resource->SetPayload(bytes);
        m_newsletter->Layout().AddResource(std::move(resource));
        const QString suffix = pipeline.isEmpty() ? QString() : QStringLiteral("?pid=") + pipeline;
        return QStringLiteral(
                   "<img src=\"img/%1%2\" style=\"border:none;vertical-align:middle;display:block;\" "
                   "name=\"src_ResID:%3;\" alt=\"\" />")
            .arg(fileName, suffix, id);
    }

    const TemplateSource& m_source;
    ndb::CNdbNewsletter* m_newsletter{nullptr};
};

// Draws the preview page of the open newsletter, as the program's local server hands it out.
class PreviewCamera
{
public:
    PreviewCamera() : m_server(&m_context)
    {
        if (m_server.Start() == 0)
        {
            std::fprintf(stderr, "the local server did not start\n");
            std::exit(1);
        }
        m_view.setAttribute(Qt::WA_DontShowOnScreen);
        m_view.resize(PreviewSize);
        m_view.show();
    }

    QImage Take(std::unique_ptr<ndb::CNdbNewsletter> newsletter)
    {
        const QString name = QStringLiteral("preview.kvnl");
        newsletter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(name));
        m_context.SetCurrentDocument(std::move(newsletter));
        QEventLoop loop;
        bool loaded = false;
        const auto connection = QObject::connect(&m_view, &QWebEngineView::loadFinished, &loop,
                                                 [&](bool ok)
                                                 {
                                                     loaded = ok;
                                                     loop.quit();
                                                 });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        m_view.load(QUrl(m_context.MakeServerUrl(name)));
        loop.exec();
        QObject::disconnect(connection);
        if (!loaded)
        {
            std::fprintf(stderr, "the preview page did not load\n");
            std::exit(1);
        }
        // The page is painted a moment after it finished loading.
        QEventLoop settle;
        QTimer::singleShot(1000, &settle, &QEventLoop::quit);
        settle.exec();
        return m_view.grab().toImage().scaled(ThumbnailSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

private:
    CKVContext m_context;
    CKVWebServer m_server;
    QWebEngineView m_view;
};

struct CatalogueFile
{
    const TemplateSource* source;
    qint64 size;
    QString md5;
    QString name;
    QString description;
};

QString Attribute(const char* name, const QString& value)
{
    return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), value.toHtmlEscaped());
}

QByteArray Catalogue(const std::vector<CatalogueFile>& files)
{
    QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<kvconcepttemplates status=\"ok\">\n");
    for (const FolderSource& folder : Folders)
    {
        xml += QStringLiteral("  <folder") + Attribute("id", QLatin1String(folder.id)) +
               Attribute("lanugage", QStringLiteral("en")) +
               Attribute("datecreated", QStringLiteral("2026,6,1,0,0,0")) +
               Attribute("name", QLatin1String(folder.name)) +
               (folder.initial ? Attribute("initialfolder", QStringLiteral("yes")) : QString()) +
               QStringLiteral(">\n");
        for (const CatalogueFile& file : files)
        {
            if (qstrcmp(file.source->folder, folder.path) != 0)
                continue;
            const QString root = QStringLiteral("$root_ct$%1/%2")
                                     .arg(QLatin1String(folder.path), QLatin1String(file.source->base));
            xml += QStringLiteral("    <file") + Attribute("id", QLatin1String(file.source->id)) +
                   Attribute("lanugage", QStringLiteral("en")) +
                   Attribute("datecreated", QLatin1String(file.source->date)) + Attribute("name", file.name) +
                   Attribute("description", file.description) + Attribute("iconsmallurl", root + ".png") +
                   Attribute("iconbigurl", root + ".png") + Attribute("md5checksum", file.md5) +
                   Attribute("filedownloadurl", root + ".kvnlt") +
                   Attribute("localizationurl", root + "_en.xml") +
                   Attribute("filesizeinbytes", QString::number(file.size)) +
                   Attribute("author", QStringLiteral("Kelvora design team")) +
                   Attribute("authorcompany", Creator) +
                   Attribute("copyright", QStringLiteral("Free to use for your own newsletters")) +
                   QStringLiteral(" />\n");
        }
        xml += QStringLiteral("  </folder>\n");
    }
    xml += QStringLiteral("  <folder id=\"KV_WEBPAGE\" lanugage=\"en\" datecreated=\"2026,6,1,0,0,0\" "
                          "name=\"fromwebpage:Web Page\" />\n</kvconcepttemplates>\n");
    return xml.toUtf8();
}

void WriteGalleryPictures(const QString& library)
{
    WriteFile(library + "img/bar_bg.jpg", Encode(TemplatePictures::GalleryBar(), "image/jpeg"));
    WriteFile(library + "img/select_frame.gif",
              Encode(TemplatePictures::SelectionFrame(QColor(0x2a, 0x6c, 0xc4)), "image/gif"));
    WriteFile(library + "img/select_frame_dis.gif",
              Encode(TemplatePictures::SelectionFrame(QColor(0x9a, 0x9a, 0x9a)), "image/gif"));
    WriteFile(library + "img/new_en.gif",
              Encode(TemplatePictures::NewBadge(QStringLiteral("NEW")), "image/gif"));
    WriteFile(library + "kvct_default.png", Encode(TemplatePictures::DefaultThumbnail(), "image/png"));
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: kv_template_library <repository root>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareWebEngine();
    QApplication application(argc, argv);
    const QString root = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    const QString sources = root + "tools/templates/sources/";
    const QString library = root + "data/library/newsletters/";

    PreviewCamera camera;
    std::vector<CatalogueFile> files;
    for (const TemplateSource& source : Sources)
    {
        const QString base = QLatin1String(source.base);
        const QString folder = library + QLatin1String(source.folder) + u'/';
        QDir().mkpath(folder);
        const QByteArray localisation = ReadFile(sources + base + "_en.xml");
        WriteFile(folder + base + "_en.xml", localisation);
        TemplateBuilder builder(source);
        const QString path = folder + base + ".kvnlt";
        if (!builder.Build(QString::fromUtf8(ReadFile(sources + base + ".htm")))
                 ->SaveTemplate(path, {}, {}, Creator))
        {
            std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
            return 1;
        }

        // The thumbnail shows the template as a new newsletter starts from it: in English.
        LocalisationMap texts;
        auto preview = std::make_unique<ndb::CNdbNewsletter>();
        ndb::CNdbNewsletter::ObjectMap objects;
        ndb::CNdbNewsletter::TextMap extras;
        if (!preview->LoadTemplate(path, objects, extras) ||
            !ParseLocalisationXml(texts, QString::fromUtf8(localisation)) ||
            !LocaliseNewsletter(*preview, texts))
        {
            std::fprintf(stderr, "cannot read back %s\n", qPrintable(path));
            return 1;
        }
        WriteFile(folder + base + ".png", Encode(camera.Take(std::move(preview)), "image/png"));

        const QByteArray bytes = ReadFile(path);
        files.push_back(
            {&source, bytes.size(),
             QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()),
             texts[QStringLiteral("title")], texts[QStringLiteral("summary")]});
        std::printf("%s\n", qPrintable(path));
    }
    WriteFile(library + "kvct_en.xml", Catalogue(files));
    WriteGalleryPictures(library);
    return 0;
}
