#include "x2/PasteCleanup.h"

#include "ndb/NdbImageResource.h"
#include "ndb/NdbNewsletter.h"
#include "x2/X2Validator.h"

#include "gre/FolderHttpServer.h"
#include "x2/X2TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace
{
const QString DataFolder = QStringLiteral(KV_TEST_DATA_DIR "/paste");

QString ReadText(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// A newsletter that receives pasted images, and the clean-up run on fragments for it.
class Paste
{
public:
    Paste() { context.newsletter = &newsletter; }

    QString Clean(const QString& html, const QString& base = QString())
    {
        CX2Validator document;
        document.ParseHtml(html);
        EXPECT_TRUE(CleanPastedHtml(base, document, context));
        QString written;
        document.WriteHtml(written);
        return written;
    }

    // The written page with each resource identifier replaced by "{RES1}", "{RES2}"... in the
    // order of the layout's list, so that expectations do not depend on new GUIDs.
    QString Named(QString html) const
    {
        for (size_t i = 0; i < Resources().size(); ++i)
            html.replace(Resources()[i]->GetString(ndb::ResourceId), QStringLiteral("{RES%1}").arg(i + 1));
        return html;
    }

    QString CleanNamed(const QString& html, const QString& base = QString())
    {
        return Named(Clean(html, base));
    }

    const ndb::CNdbLayout::ResourceList& Resources() const { return newsletter.Layout().Resources(); }

    ndb::CNdbNewsletter newsletter;
    PasteContext context;
};

// An img referring to a picture of the test data.
QString Image(const QString& attributes)
{
    return QStringLiteral("<img src=\"file://%1/images/clip_image002.png\" %2>").arg(DataFolder, attributes);
}

struct ResourceRow
{
    QString path;
    QString fileName;
    QString mime;
    QString file; // the test data file whose bytes it holds
    QString source;
};

void ExpectResources(const Paste& paste, const std::vector<ResourceRow>& rows)
{
    ASSERT_EQ(paste.Resources().size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
    {
        SCOPED_TRACE(rows[i].path.toStdString());
        const ndb::CNdbResource& resource = *paste.Resources()[i];
        EXPECT_EQ(resource.GetString(ndb::ResourcePath), rows[i].path);
        EXPECT_EQ(resource.GetString(ndb::ResourceFileName), rows[i].fileName);
        EXPECT_EQ(resource.GetString(ndb::ResourceMimeType), rows[i].mime);
        EXPECT_EQ(resource.GetString(ndb::ResourceSource), rows[i].source);
        EXPECT_EQ(resource.GetPayload(), ReadBytes(DataFolder + QLatin1Char('/') + rows[i].file));
        EXPECT_EQ(resource.GetInt(ndb::ResourceSize), resource.GetPayload().size());
    }
}

// Compares with the expected page; on a difference the written page lands in the artifact
// folder for a look.
void ExpectPage(const QString& written, const QString& expectedName)
{
    const QString expected = ReadText(DataFolder + QStringLiteral("/expected/") + expectedName);
    if (written != expected)
    {
        QFile actual(QStringLiteral(KV_ARTIFACT_DIR "/paste-") + expectedName);
        if (actual.open(QIODevice::WriteOnly))
            actual.write(written.toUtf8());
    }
    EXPECT_EQ(written, expected);
}
} // namespace

TEST(PasteCleanup, WordProcessorFragment)
{
    Paste paste;
    const QString data = DataFolder.mid(1); // the fixture writes "file:///@DATA@/..."
    const QString html =
        ReadText(DataFolder + QStringLiteral("/word.html")).replace(QStringLiteral("@DATA@"), data);
    const QString written = paste.CleanNamed(html, QString());
    ExpectPage(written, QStringLiteral("word.html"));
    // The picture inside the conditional comment is never read; the missing one is dropped.
    const QString prefix = QStringLiteral("file:///") + data + QStringLiteral("/images/");
    ExpectResources(paste, {
                               {"img/clip_image002.png", "clip_image002.png", "image/png",
                                "images/clip_image002.png", prefix + "clip_image002.png"},
                               {"img/clip_image004.jpg", "clip_image004.jpg", "image/jpeg",
                                "images/clip_image004.jpg", prefix + "clip_image004.jpg"},
                           });
}

TEST(PasteCleanup, WebPageFragmentWithImagesOverHttp)
{
    const FolderHttpServer server(DataFolder);
    ASSERT_NE(server.Port(), 0);
    const QString port = QString::number(server.Port());
    Paste paste;
    const QString html =
        ReadText(DataFolder + QStringLiteral("/webpage.html")).replace(QStringLiteral("@PORT@"), port);
    const QString written =
        paste.CleanNamed(html, server.Url(QStringLiteral("site/"))).replace(port, QStringLiteral("@PORT@"));
    ExpectPage(written, QStringLiteral("webpage.html"));

    const QString site = server.Url(QStringLiteral("site/images/"));
    ExpectResources(paste,
                    {
                        {"img/logo.png", "logo.png", "image/png", "site/images/logo.png", "images/logo.png"},
                        {"img/banner.gif", "banner.gif", "image/gif", "site/images/banner.gif",
                         "/site/images/banner.gif"},
                        {"img/photo.jpg", "photo.jpg", "image/jpeg", "site/images/photo.jpg",
                         site + "photo.jpg?size=small"},
                        {"img/bg.gif", "bg.gif", "image/gif", "site/images/bg.gif", "images/bg.gif"},
                        {"img/bg-2.gif", "bg.gif", "image/gif", "site/images/bg.gif", "images/bg.gif"},
                    });
    // Nothing inside deleted content is fetched, nor the address in a background shorthand, and
    // every other image exactly once.
    EXPECT_EQ(server.RequestedPaths(),
              QStringList({"/site/images/logo.png", "/site/images/banner.gif",
                           "/site/images/photo.jpg?size=small", "/site/images/missing.png",
                           "/site/images/fake.png", "/site/images/bg.gif", "/site/images/bg.gif"}));
}

TEST(PasteCleanup, ElementsAndAttributesOutsideTheEditorsSetGo)
{
    struct Case
    {
        const char* pasted;
        const char* written;
    };
    const Case cases[] = {
        {"<script>alert(1)</script><!-- note -->", ""},
        {"<center><b>a</b></center><form action=\"x\"><p>b<input name=\"q\"></p></form>", "<b>a</b><p>b</p>"},
        {"<table><tbody><tr><td>c</td></tr></tbody></table>",
         "<table class=\"sys_table\"><tr><td>c</td></tr></table>"},
        {"<select><option>one</option></select>d<textarea>e</textarea>", "de"},
        {"<x-a><x-b><i>f</i></x-b>g</x-a>", "<i>f</i>g"},
        {"<iframe src=\"v\"></iframe><object><embed "
         "src=\"m\"></object><noscript>h</noscript><style>p{}</style>",
         ""},
        {"<!DOCTYPE html><?xml version=\"1.0\"?><?php echo 1; ?><% x %>k", "k"},
        {"<td class=\"c\" width=\"5\">l</td>", "<td width=\"5\">l</td>"},
        {"<p style=\"color:red\" id=\"i\" name=\"n\" class=\"c\" align=\"center\">m</p>",
         "<p class=\"c\">m</p>"},
        {"<font face=\"Arial\" color=\"red\" size=\"2\">n</font>", "<font color=\"red\" size=\"2\">n</font>"},
        {"<a href=\"http://example.com/\" title=\"t\" target=\"_blank\" onclick=\"x()\">o</a>",
         "<a href=\"http://example.com/\" title=\"t\">o</a>"},
        {"<span STYLE=\"color:red\" Data-X=\"1\">p</span>", "<span style=\"color:red\">p</span>"},
        {"<a href=\" JavaScript:alert(1)\">q</a><a href=\"java\tscript:x\">r</a><a href=\"vbscript:x\">s</a>",
         "<a>q</a><a>r</a><a>s</a>"},
        {"<h2 id=\"x\" class=\"big\" style=\"color:red\">t</h2><h6>u</h6>",
         "<h2 class=\"h2\">t</h2><h6 class=\"h6\">u</h6>"},
        {"<div>v</div><div style=\"color:red\" class=\"box\" id=\"d\">w</div>",
         "<p>v</p><div style=\"color:red\" id=\"d\" class=\"sys_div\">w</div>"},
        {"<table border=\"1\" class=\"t\" style=\"border:1px solid;color:red\" width=\"9\"><tr><td "
         "style=\"border-top:1px solid;border-left:0;padding:2px\">x</td></tr></table>",
         "<table style=\"color:red;\" width=\"9\" class=\"sys_table\"><tr><td "
         "style=\"padding:2px;\">x</td></tr>"
         "</table>"},
        {"<ul><li>y</li></ul><ol><li>z</li></ol><hr noshade><br>",
         "<ul><li>y</li></ul><ol><li>z</li></ol><hr /><br />"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pasted);
        Paste paste;
        EXPECT_EQ(paste.Clean(QString::fromUtf8(c.pasted)), QString::fromUtf8(c.written));
        EXPECT_TRUE(paste.Resources().empty());
    }
}

TEST(PasteCleanup, ImagePresentationBecomesStyleAndBorderMetadata)
{
    struct Case
    {
        QString attributes;
        QString written; // the img after "<img src=\"img/clip_image002.png\" "
    };
    const Case cases[] = {
        {"width=\"120\" border=\"1\"", "alt=\"\" style=\"width:120px;border:solid 1px #000000\" "
                                       "name=\"src_border:solid 1px F{#000000FF};src_ResID:{RES1};\" />"},
        {"style=\"margin: 3px 9px\" alt=\"a\" title=\"t\"",
         "alt=\"a\" style=\"margin-top:3px;margin-bottom:3px;margin-left:3px;margin-right:3px;border:none\" "
         "name=\"src_ResID:{RES1};\" />"},
        {"style=\"MARGIN:1px 2px 3px 4px;margin-top:9px\" title=\"t\"",
         "alt=\"t\" style=\"margin-top:1px;margin-bottom:3px;margin-left:4px;margin-right:2px;border:none\" "
         "name=\"src_ResID:{RES1};\" />"},
        {"style=\"margin:1px 2px 3px 4px 5px;margin-left:7px\" hspace=\"4\" vspace=\"2\"",
         "alt=\"\" style=\"margin-top:2px;margin-bottom:2px;margin-left:7px;margin-right:4px;border:none\" "
         "name=\"src_ResID:{RES1};\" />"},
        {"width=\"50%\" height=\"2em\" align=\"left\" style=\"float:right;display:block;height:30px\"",
         "alt=\"\" style=\"width:50%;height:30px;text-align:left;float:right;display:block;border:none\" "
         "name=\"src_ResID:{RES1};\" />"},
        {"border=\"0\" style=\"border-left: THIN Dotted #00FF00\"",
         "alt=\"\" style=\"border:THIN Dotted #00FF00\" name=\"src_border:dotted thin "
         "F{#00ff00FF};src_ResID:{RES1};\" "
         "/>"},
        {"style=\"border:1px solid rgb(0, 0, 0)\"",
         "alt=\"\" style=\"border:1px solid rgb(0, 0, 0)\" name=\"src_ResID:{RES1};\" />"},
        {"style=\"border:2px dashed Red\"",
         "alt=\"\" style=\"border:2px dashed Red\" name=\"src_border:dashed 2px "
         "F{#ff0000FF};src_ResID:{RES1};\" />"},
        {"style=\"border:2px dashed #0f0\"",
         "alt=\"\" style=\"border:2px dashed #0f0\" name=\"src_border:dashed 2px "
         "F{#00ff00FF};src_ResID:{RES1};\" />"},
        {"style=\"border:2px dashed nocolour\"",
         "alt=\"\" style=\"border:2px dashed nocolour\" name=\"src_ResID:{RES1};\" />"},
        {"style=\"border:2px 3px red\" id=\"i\" onload=\"x()\" name=\"old\"",
         "alt=\"\" style=\"border:2px 3px red\" name=\"src_ResID:{RES1};\" />"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.attributes.toStdString());
        Paste paste;
        EXPECT_EQ(paste.CleanNamed(Image(c.attributes)), "<img src=\"img/clip_image002.png\" " + c.written);
        EXPECT_EQ(paste.Resources().size(), 1u);
    }
}

TEST(PasteCleanup, ImageOfTheNewsletterIsKeptAsItIs)
{
    Paste paste;
    paste.Clean(Image(QString()));
    ASSERT_EQ(paste.Resources().size(), 1u);
    const QString id = paste.Resources()[0]->GetString(ndb::ResourceId);
    const QString copied =
        QStringLiteral("<img src=\"img/clip_image002.png\" style=\"width:5px\" onclick=\"x()\" "
                       "name=\"src_pipelineid:p;src_ResID:%1;\" data-a=\"1\">")
            .arg(id);
    EXPECT_EQ(paste.Clean(copied), QStringLiteral("<img src=\"img/clip_image002.png\" style=\"width:5px\" "
                                                  "name=\"src_pipelineid:p;src_ResID:%1;\" />")
                                       .arg(id));
    EXPECT_EQ(paste.Resources().size(), 1u);

    // A name that points at a resource of another newsletter is taken in anew.
    const QString foreign = QStringLiteral("<img src=\"file://%1/images/clip_image004.jpg\" "
                                           "name=\"src_ResID:{00000000-0000-0000-0000-000000000001};\">")
                                .arg(DataFolder);
    EXPECT_EQ(paste.CleanNamed(foreign),
              QStringLiteral("<img src=\"img/clip_image004.jpg\" alt=\"\" "
                             "style=\"border:none\" name=\"src_ResID:{RES2};\" />"));
}

TEST(PasteCleanup, SameFileNameTwiceGetsAPathOfItsOwn)
{
    Paste paste;
    paste.Clean(Image(QString()) + Image(QString()));
    paste.Clean(Image(QString()));
    ASSERT_EQ(paste.Resources().size(), 3u);
    EXPECT_EQ(paste.Resources()[0]->GetString(ndb::ResourcePath), QStringLiteral("img/clip_image002.png"));
    EXPECT_EQ(paste.Resources()[1]->GetString(ndb::ResourcePath), QStringLiteral("img/clip_image002-2.png"));
    EXPECT_EQ(paste.Resources()[2]->GetString(ndb::ResourcePath), QStringLiteral("img/clip_image002-3.png"));
    for (const auto& resource : paste.Resources())
        EXPECT_EQ(resource->GetString(ndb::ResourceFileName), QStringLiteral("clip_image002.png"));
}

TEST(PasteCleanup, BackgroundImagesBecomeResourcesOrGo)
{
    const QString base = QStringLiteral("file://") + DataFolder + QStringLiteral("/site/images/");
    struct Case
    {
        const char* pasted;
        const char* written;
        size_t resources;
    };
    const Case cases[] = {
        {"<td style=\"background-image:url(bg.gif);background-repeat:no-repeat;background-position:center\" "
         "name=\"src_ResID:{00000000-0000-0000-0000-000000000001};k:v;\">a</td>",
         "<td "
         "style=\"background-image:url(img/bg.gif);background-repeat:no-repeat;background-position:center;\" "
         "name=\"background-position:center;background-repeat:no-repeat;src_ResID:{RES1};k:v;\">a</td>",
         1},
        {"<div background=\"url( 'bg.gif' )\">b</div>",
         "<div background=\"url( 'bg.gif' )\" style=\"background-image:url(img/bg.gif);\" "
         "name=\"src_ResID:{RES1};\" class=\"sys_div\">b</div>",
         1},
        {"<table style=\"color:red;background-image:url('bg.gif')\"><tr><td>c</td></tr></table>",
         "<table style=\"color:red;background-image:url(img/bg.gif);\" name=\"src_ResID:{RES1};\" "
         "class=\"sys_table\"><tr><td>c</td></tr></table>",
         1},
        // Not imported: a bare address stays as it is; an address that cannot be loaded takes every
        // background declaration but the colour with it; a colour alone stays.
        {"<td background=\"bg.gif\" style=\"background-position:top\">d</td>",
         "<td background=\"bg.gif\" style=\"background-position:top;\">d</td>", 0},
        {"<td style=\"background:url(missing.png) "
         "no-repeat;background-color:#eee;background-attachment:fixed;"
         "background-repeat:x;background-position:top;color:red\">e</td>",
         "<td style=\"background-color:#eee;color:red;\">e</td>", 0},
        {"<td style=\"background-image:url(fake.png);background-color:#eee\">f</td>",
         "<td style=\"background-color:#eee;\">f</td>", 0},
        {"<td style=\"background:#ffcc00;background-repeat:no-repeat\">g</td>",
         "<td style=\"background:#ffcc00;background-repeat:no-repeat;\">g</td>", 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pasted);
        Paste paste;
        EXPECT_EQ(paste.CleanNamed(QString::fromUtf8(c.pasted), base), QString::fromUtf8(c.written));
        EXPECT_EQ(paste.Resources().size(), c.resources);
    }
}

TEST(PasteCleanup, ImagesAreDroppedWhenNoneMayBeFetched)
{
    const QString pasted =
        Image(QStringLiteral("alt=\"a\"")) + QStringLiteral("<b>x</b>") + Image(QStringLiteral("alt=\"b\"")) +
        QStringLiteral("<td style=\"background-image:url(file://") + DataFolder +
        QStringLiteral("/site/images/bg.gif);color:red\">y</td>") + Image(QStringLiteral("alt=\"c\""));

    Paste limited;
    limited.context.imageFetchesLeft = 2;
    EXPECT_EQ(
        limited.CleanNamed(pasted),
        "<img src=\"img/clip_image002.png\" alt=\"a\" style=\"border:none\" name=\"src_ResID:{RES1};\" />"
        "<b>x</b>"
        "<img src=\"img/clip_image002-2.png\" alt=\"b\" style=\"border:none\" name=\"src_ResID:{RES2};\" />"
        "<td style=\"color:red;\">y</td>");
    EXPECT_EQ(limited.context.imageFetchesLeft, 0);

    Paste off;
    off.context.imageFetchesLeft = 0;
    EXPECT_EQ(off.Clean(pasted), QStringLiteral("<b>x</b><td style=\"color:red;\">y</td>"));
    EXPECT_TRUE(off.Resources().empty());

    PasteContext noNewsletter;
    CX2Validator document;
    document.ParseHtml(pasted);
    EXPECT_TRUE(CleanPastedHtml(QString(), document, noNewsletter));
    QString written;
    document.WriteHtml(written);
    EXPECT_EQ(written, QStringLiteral("<b>x</b><td style=\"color:red;\">y</td>"));
    EXPECT_EQ(noNewsletter.imageFetchesLeft, PasteContext::DefaultMaxImageFetches);
}

TEST(PasteCleanup, DocumentLockIsTakenOnlyToAddAnImage)
{
    std::shared_mutex mutex;
    int locks = 0;
    int fetches = 0;
    Paste paste;
    paste.context.lockDocument = [&]
    {
        ++locks;
        return std::unique_lock(mutex);
    };
    paste.context.fetchImage = [&](const QString& reference, const QString& base)
    {
        ++fetches;
        // The local server's threads must be able to read the document during a download.
        EXPECT_TRUE(mutex.try_lock_shared());
        mutex.unlock_shared();
        return ndb::FetchImageResource(reference, base);
    };
    paste.Clean(Image(QString()) + QStringLiteral("<img src=\"file:///nowhere/x.png\">") + Image(QString()));
    EXPECT_EQ(paste.Resources().size(), 2u);
    EXPECT_EQ(fetches, 3);
    EXPECT_EQ(locks, 2);
    EXPECT_TRUE(mutex.try_lock());
    mutex.unlock();
}

TEST(PasteCleanup, LargeAndDeepFragmentsFinish)
{
    // Many siblings to unwrap or delete and a tag with many attributes to filter: done one by
    // one, each would shift the rest of its list.
    QString wide;
    for (int i = 0; i < 200000; ++i)
        wide += QStringLiteral("<o:p>a</o:p><!---->");
    wide += QStringLiteral("<span");
    for (int i = 0; i < 100000; ++i)
        wide += QStringLiteral(" id=\"1\" x=\"2\"");
    wide += QStringLiteral(">b</span>");
    Paste paste;
    const QString written = paste.Clean(wide);
    EXPECT_EQ(written.size(), 200000 + 100000 * 7 + 14);
    EXPECT_TRUE(written.startsWith(QStringLiteral("aaa")));

    // As deep as the parser goes, and deeper by hand: what lies beyond the parser's limit is cut.
    QString deep;
    for (int i = 0; i < 490; ++i)
        deep += QStringLiteral("<x><b>");
    Paste parsed;
    EXPECT_EQ(parsed.Clean(deep + QStringLiteral("c")), QStringLiteral("<b>").repeated(490) +
                                                            QStringLiteral("c") +
                                                            QStringLiteral("</b>").repeated(490));

    CX2Validator document;
    CX2Element* node = &document.GetRoot();
    for (int i = 0; i < 5000; ++i)
        node = node->AppendChild(std::make_unique<CX2Element>(QString::fromLatin1(i % 2 ? "i" : "unknown")));
    node->AppendChild(std::make_unique<CX2Element>(CX2Element::Text, QStringLiteral("d")));
    PasteContext context;
    EXPECT_TRUE(CleanPastedHtml(QString(), document, context));
    QString cut;
    document.WriteHtml(cut);
    EXPECT_FALSE(cut.contains(QLatin1Char('d')));
    EXPECT_TRUE(cut.startsWith(QStringLiteral("<i><i>")));
}
