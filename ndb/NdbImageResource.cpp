#include "ndb/NdbImageResource.h"

#include "base/INetFile.h"
#include "gre/GreImage.h"
#include "platform/gui/WaitCursor.h"
#include "platform/net/HttpFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace ndb
{
namespace
{
// A file on disk may be no larger than a download may be, so both roads take the same images.
constexpr qint64 MaxImageBytes = CHttpFile::MaxBodySize;

// The MIME type of a file by the text after the last "." of its name, compared in lower case.
QString MimeTypeByExtension(const QString& fileName)
{
    static const std::pair<const char*, const char*> types[] = {
        {".gif", "image/gif"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".png", "image/png"},
        {".pdf", "application/pdf"},
        {".doc", "application/msword"},
        {".xls", "application/vnd.ms-excel"},
    };
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : fileName.mid(dot).toLower();
    for (const auto& [ending, mime] : types)
    {
        if (extension == QLatin1String(ending))
            return QLatin1String(mime);
    }
    return QStringLiteral("application/octet-stream");
}

bool HasImageFileName(const QString& fileName)
{
    static const char* const endings[] = {".gif", ".jpg", ".jpeg", ".png"};
    for (const char* ending : endings)
    {
        if (fileName.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool HoldsScheme(const QString& reference)
{
    static const char* const schemes[] = {"http:", "https:", "ftp:", "file:", "gopher:"};
    for (const char* scheme : schemes)
    {
        if (reference.contains(QLatin1String(scheme), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// A root-relative ("/x.png") or scheme-relative ("//host/x.png") reference keeps the base's
// scheme and host; every other reference is appended to the base, which is the folder of the
// page the HTML came from.
QString JoinToBase(const QString& base, const QString& reference)
{
    const qsizetype schemeEnd = base.indexOf(QLatin1String("://"));
    if (schemeEnd > 0 && reference.startsWith(QLatin1String("//")))
        return base.left(schemeEnd + 1) + reference;
    if (schemeEnd > 0 && reference.startsWith(QLatin1Char('/')))
    {
        const qsizetype authorityEnd = base.indexOf(QLatin1Char('/'), schemeEnd + 3);
        return (authorityEnd < 0 ? base : base.left(authorityEnd)) + reference;
    }
    return base + reference;
}

// The absolute local path that a "file:" address names, or empty. "file:///p" and
// "file://localhost/p" name /p; an address naming another machine names nothing we can read.
QString LocalPathOf(const QString& address)
{
    QString path = address.mid(5);
    if (path.startsWith(QLatin1String("//")))
    {
        path = path.mid(2);
        if (path.startsWith(QLatin1String("localhost/"), Qt::CaseInsensitive))
            path = path.mid(9);
    }
    if (!path.startsWith(QLatin1Char('/')))
        return {};
    const qsizetype query = path.indexOf(QLatin1Char('?'));
    if (query >= 0)
        path.truncate(query);
    path.replace(QLatin1String("%20"), QLatin1String(" "));
    return path;
}

// Only a regular file is opened: a FIFO or device named like an image would block or never end.
bool ReadWholeFile(const QString& path, QByteArray& bytes)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxImageBytes)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // One byte more than the file held when it was looked at shows a file that grew meanwhile.
    bytes = file.read(info.size() + 1);
    return bytes.size() == info.size();
}

struct HttpTarget
{
    QString host;
    int port{80};
    QString path;
};

bool ParseHttpAddress(const QString& address, HttpTarget& target)
{
    const QString rest = address.mid(address.indexOf(QLatin1String("://")) + 3);
    qsizetype pathStart = rest.size();
    for (const QChar delimiter : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#')})
    {
        const qsizetype at = rest.indexOf(delimiter);
        if (at >= 0 && at < pathStart)
            pathStart = at;
    }
    const QString authority = rest.left(pathStart);
    target.path = rest.mid(pathStart);
    const qsizetype fragment = target.path.indexOf(QLatin1Char('#'));
    if (fragment >= 0)
        target.path.truncate(fragment);
    if (!target.path.startsWith(QLatin1Char('/')))
        target.path.prepend(QLatin1Char('/'));

    QString portText;
    if (authority.startsWith(QLatin1Char('[')))
    {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            return false;
        target.host = authority.mid(1, close - 1);
        const QString after = authority.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(QLatin1Char(':')))
            return false;
        portText = after.mid(1);
    }
    else
    {
        const qsizetype colon = authority.lastIndexOf(QLatin1Char(':'));
        target.host = colon < 0 ? authority : authority.left(colon);
        portText = colon < 0 ? QString() : authority.mid(colon + 1);
    }
    if (!portText.isEmpty())
    {
        bool ok = false;
        target.port = portText.toInt(&ok);
        if (!ok || target.port < 1 || target.port > 65535)
            return false;
    }
    return !target.host.isEmpty();
}

bool DownloadImage(const QString& address, QByteArray& bytes)
{
    HttpTarget target;
    if (!ParseHttpAddress(address, target))
        return false;
    CINetFile file;
    if (!file.SendRequest(target.host, target.path, QString(), target.port) || file.GetStatusCode() != 200)
        return false;
    file.ReadResponse();
    bytes = file.GetBody();
    return true;
}

// The MIME type of GIF, JPEG or PNG bytes that decode into a picture; empty for anything else,
// whatever the file was called.
QString ImageMimeType(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    const QByteArray format = QImageReader::imageFormat(&buffer).toLower();
    QString mime;
    if (format == "png")
        mime = QStringLiteral("image/png");
    else if (format == "jpeg" || format == "jpg")
        mime = QStringLiteral("image/jpeg");
    else if (format == "gif")
        mime = QStringLiteral("image/gif");
    gre::CGreImage picture;
    if (mime.isEmpty() || !picture.LoadFromBytes(bytes) || picture.GetWidth() <= 0 ||
        picture.GetHeight() <= 0)
        return {};
    return mime;
}
} // namespace

std::unique_ptr<ndb::CNdbResource> LoadImageResource(const QString& path)
{
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes) || bytes.isEmpty())
        return nullptr;
    const QString fileName =
        QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')).section(QLatin1Char('/'), -1);
    auto resource = std::make_unique<ndb::CNdbResource>();
    resource->SetPayload(bytes);
    const QString mime = MimeTypeByExtension(fileName);
    const bool image = mime.startsWith(QLatin1String("image/"));
    gre::CGreImage picture;
    if (image && picture.LoadFromBytes(bytes) && picture.GetWidth() > 0 && picture.GetHeight() > 0)
    {
        resource->SetField(ndb::ResourceWidth,
                           ndb::CNdbFieldValue(ndb::NdbValueInt, qint32(picture.GetWidth())));
        resource->SetField(ndb::ResourceHeight,
                           ndb::CNdbFieldValue(ndb::NdbValueInt, qint32(picture.GetHeight())));
    }
    resource->SetField(
        ndb::ResourcePath,
        ndb::CNdbFieldValue((image ? QStringLiteral("img/") : QStringLiteral("files/")) + fileName));
    resource->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(mime));
    resource->SetField(ndb::ResourceSize, ndb::CNdbFieldValue(ndb::NdbValueInt, qint32(bytes.size())));
    resource->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(fileName));
    resource->SetField(ndb::ResourceSource, ndb::CNdbFieldValue(path));
    return resource;
}

std::unique_ptr<ndb::CNdbResource> FetchImageResource(const QString& reference, const QString& baseAddress)
{
    QString address = reference.trimmed();
    address.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString withoutQuery = address.left(address.indexOf(QLatin1Char('?')));
    const QString fileName = withoutQuery.mid(withoutQuery.lastIndexOf(QLatin1Char('/')) + 1);
    if (!HasImageFileName(fileName))
        return nullptr;
    if (!HoldsScheme(address) && !baseAddress.isEmpty())
        address = JoinToBase(QString(baseAddress).replace(QLatin1Char('\\'), QLatin1Char('/')), address);

    const WaitCursor waitCursor;
    QByteArray bytes;
    bool read = false;
    if (address.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
    {
        const QString path = LocalPathOf(address);
        read = !path.isEmpty() && ReadWholeFile(path, bytes);
    }
    else if (address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
             address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
    {
        read = DownloadImage(address, bytes);
    }
    if (!read)
        return nullptr;
    const QString mime = ImageMimeType(bytes);
    if (mime.isEmpty())
        return nullptr;

    auto resource = std::make_unique<ndb::CNdbResource>();
    resource->SetPayload(bytes);
    resource->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(QStringLiteral("img/") + fileName));
    resource->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(fileName));
    resource->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(mime));
    resource->SetField(ndb::ResourceSize, ndb::CNdbFieldValue(ndb::NdbValueInt, qint32(bytes.size())));
    resource->SetField(ndb::ResourceSource, ndb::CNdbFieldValue(reference));
    return resource;
}
} // namespace ndb
