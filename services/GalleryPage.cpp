#include "services/GalleryPage.h"

#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "platform/core/AppStrings.h"
#include "services/ConceptTemplateFile.h"
#include "services/ConceptTemplateFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace
{
constexpr int CellsPerRow = 3;
constexpr qint64 NewForSeconds = qint64(90) * 86400;
constexpr qint64 MaxPictureSize = 4 * 1024 * 1024;

QString Html(const QString& text)
{
    return text.toHtmlEscaped();
}

// A text inside a single-quoted script string that itself sits in a double-quoted attribute.
QString ScriptString(const QString& text)
{
    QString escaped;
    for (const QChar c : text)
    {
        if (c == u'\\' || c == u'\'' || c.unicode() < 0x20 || c == u'<' || c == u'>' || c == u'&' ||
            c == u'"')
            escaped += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}

QString LinkField(const QString& id)
{
    return UrlEncodeUtf8(id).replace(u'_', QStringLiteral("%5F"));
}

bool IsWebAddress(const QString& url)
{
    return url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString Paragraph(const QString& label, const QString& valueHtml)
{
    return QStringLiteral("\n<p class=\"file_p\"><strong>%1 </strong>%2</p>").arg(Html(label), valueHtml);
}

QString Cell(const CConceptTemplateFolder& folder, const CConceptTemplateFile& file, int n,
             const GalleryPage::PictureAddress& picture)
{
    const QString cellId = QStringLiteral("fileid%1").arg(n);
    QString cell = QStringLiteral("<div class=\"fileimg_container_div\" id=\"%1\">").arg(cellId);
    cell += QStringLiteral(
                "\n<div id=\"%1_imgdiv\" class=\"fileimg_imgdiv\" onclick=\"SelectFile('%1', '%2', false)\">"
                "<img alt=\"\" class=\"fileimg_img\" src=\"%3\"></div>")
                .arg(cellId, ScriptString(GalleryPage::MakeLink(folder.GetId(), file.GetId())),
                     Html(picture(file.GetSmallIconUrl())));

    cell += QStringLiteral("<div class=\"file_textdiv\"><h1 class=\"file_h1\">") + Html(file.GetName());
    if (QDateTime::currentSecsSinceEpoch() - file.GetDateCreated() < NewForSeconds)
        cell +=
            QStringLiteral(
                "<img style=\"margin-left:7px;height:13px;vertical-align:middle;\" alt=\"%1\" src=\"%2\">")
                .arg(Html(LoadAppString(11617)),
                     Html(picture(QStringLiteral("new_") + GetLanguageCode() + QStringLiteral(".gif"))));
    cell += QStringLiteral("</h1>");
    if (!file.GetDescription().isEmpty())
        cell +=
            QStringLiteral("\n<p class=\"file_p\">") + Html(file.GetDescription()) + QStringLiteral("</p>");

    cell += QStringLiteral("<div class=\"file_text_block_div\">");
    if (file.GetSize() > 0)
        cell += Paragraph(LoadAppString(11611), Html(GalleryPage::SizeText(file.GetSize())));
    if (!file.GetAuthor().isEmpty())
    {
        QString author = Html(file.GetAuthor());
        if (!file.GetAuthorCompany().isEmpty())
            author += QStringLiteral(", ") + Html(file.GetAuthorCompany()) + u'.';
        cell += Paragraph(LoadAppString(11612), author);
    }
    if (!file.GetCopyright().isEmpty())
        cell += Paragraph(LoadAppString(11613), Html(file.GetCopyright()));
    // Only a web address opens: a catalogue must not run script or open local files.
    if (IsWebAddress(file.GetDemoUrl()))
        cell +=
            QStringLiteral("\n<p class=\"file_p\"><a href=\"__EMTPY__\" onclick=\"javascript:var newwin = "
                           "window.open('%1','%2', ''); newwin.focus();\">%3</a></p>")
                .arg(ScriptString(file.GetDemoUrl()), ScriptString(LoadAppString(11618)),
                     Html(LoadAppString(11614)));
    cell += QStringLiteral("</div></div></div>");
    return cell;
}
} // namespace

namespace GalleryPage
{
QString LoadTemplate(int resourceId)
{
    const QString name = QStringLiteral("html/%1.htm").arg(resourceId);
    QFile file(GetResourceRoot() + name);
    if (!file.open(QIODevice::ReadOnly))
        file.setFileName(QStringLiteral(":/") + name);
    if (!file.isOpen() && !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

namespace
{
bool StorePicture(const QString& path, const QString& name, const StoreBytes& store)
{
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || file.size() > MaxPictureSize ||
        !file.open(QIODevice::ReadOnly))
        return false;
    const QString suffix = QFileInfo(path).suffix().toLower();
    QString type = QStringLiteral("image/png");
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        type = QStringLiteral("image/jpeg");
    else if (suffix == QLatin1String("gif"))
        type = QStringLiteral("image/gif");
    store(name, file.readAll(), type);
    return true;
}
} // namespace

QString PublishPicture(const QString& path, const QString& prefix, int& count, const StoreBytes& store)
{
    const QString name = QStringLiteral("%1_%2.%3").arg(prefix).arg(count + 1).arg(QFileInfo(path).suffix());
    if (!StorePicture(path, name, store))
        return QStringLiteral("about:blank");
    ++count;
    return name;
}

bool HidesOfflineNotice(bool online)
{
    quint32 localMode = 0;
    return online || (ReadAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("RunInLocalMode"), localMode) &&
                      localMode == 1);
}

QString SizeText(int size)
{
    return FormatResourceText(LoadAppString(9403), {QString::number(std::max(1, size / 1024))});
}

QString MakeLink(const QString& folderId, const QString& fileId)
{
    return QStringLiteral("__FOLDER__") + LinkField(folderId) + QStringLiteral("__A__FILE__") +
           LinkField(fileId) + QStringLiteral("__");
}

QString Build(const QString& pageTemplate, const CConceptTemplateFolder& folder, bool hideAlert,
              const PictureAddress& picture)
{
    QString cells = QStringLiteral("<tr>");
    int n = 0;
    for (int index = 0; index < folder.GetChildCount(); ++index)
    {
        const CConceptTemplateBase* child = folder.GetChild(index);
        if (!child->IsFile())
            continue;
        if (n > 0 && n % CellsPerRow == 0)
            cells += QStringLiteral("</tr>\n<tr>");
        cells += QStringLiteral("\n<td>") +
                 Cell(folder, static_cast<const CConceptTemplateFile&>(*child), n, picture) +
                 QStringLiteral("</td>");
        ++n;
    }
    for (int filled = n % CellsPerRow; filled != 0 && filled < CellsPerRow; ++filled)
        cells += QStringLiteral("<td>&nbsp;</td>");
    cells += QStringLiteral("</tr>");

    QString page = pageTemplate;
    page.replace(QStringLiteral("[ALERT_DISPLAYTYPE]"),
                 hideAlert ? QStringLiteral("none") : QStringLiteral("block"));
    page.replace(QStringLiteral("[FILES_ID]"), QStringLiteral("filetable"));
    page.replace(QStringLiteral("[BAR_BG_URL]"), picture(QStringLiteral("bar_bg.jpg")));
    page.replace(QStringLiteral("[FILE_IMGFRAME_URL]"), picture(QStringLiteral("select_frame.gif")));
    page.replace(QStringLiteral("[FILE_IMGFRAME_DIS_URL]"), picture(QStringLiteral("select_frame_dis.gif")));
    page.replace(QStringLiteral("[FOLDERFILES_ID]"), QString());
    page.replace(QStringLiteral("[FOLDERFILES]"), QString());
    // Last: the cells hold catalogue texts, which must not be taken for placeholders.
    page.replace(QStringLiteral("[FILES]"), cells);
    return page;
}

LinkKind ParseLink(const QString& url, QString& fileId)
{
    fileId.clear();
    if (url.contains(QLatin1String("__EMTPY__")))
        return LinkKind::Empty;
    const qsizetype folder = url.indexOf(QLatin1String("__FOLDER__"));
    if (folder < 0)
        return LinkKind::Other;
    const qsizetype folderEnd = url.indexOf(QLatin1String("__"), folder + 10);
    if (folderEnd < 0)
        return LinkKind::Unclosed;
    const qsizetype file = url.indexOf(QLatin1String("__FILE__"));
    if (file >= 0)
    {
        const qsizetype fileEnd = url.indexOf(QLatin1String("__"), file + 8);
        if (fileEnd >= 0)
            fileId = QUrl::fromPercentEncoding(url.mid(file + 8, fileEnd - file - 8).toUtf8());
    }
    return LinkKind::Template;
}
} // namespace GalleryPage
