#include "ndb/NdbImageResource.h"

#include "base/INetFile.h"
#include "gre/GreImage.h"

#include "gre/FolderHttpServer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

using ndb::FetchImageResource;
using ndb::LoadImageResource;

namespace
{
QByteArray Encoded(const char* format)
{
    QImage picture(6, 4, QImage::Format_ARGB32);
    picture.fill(QColor(10, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, format));
    return bytes;
}

QByteArray GifBytes()
{
    gre::CGreImage picture;
    EXPECT_TRUE(picture.Create(5, 3));
    QByteArray bytes;
    EXPECT_TRUE(picture.SaveToBytes(QStringLiteral("image/gif"), bytes));
    return bytes;
}

// A folder of pictures and of files that only look like pictures by their names.
class ImageFolder
{
public:
    ImageFolder()
    {
        Write("a.png", Png());
        Write("A-UPPER.PNG", Png());
        Write("with blank.png", Png());
        Write("photo.jpeg", Jpeg());
        Write("photo.jpg", Jpeg());
        Write("anim.gif", Gif());
        Write("sub/b.png", Png());
        Write("png-inside.gif", Png());
        Write("picture.txt", Png());
        Write("fake.png", "<html><body>not a picture</body></html>");
        Write("bitmap.png", Encoded("BMP"));
        Write("truncated.png", Png().left(40));
        Write("empty.png", QByteArray());
        Write("photo.JPG", Jpeg());
        Write("notes.txt", "a note");
        Write("a.b/readme", "read me");
        Write("report.pdf", "%PDF-1.4");
        Write("letter.Doc", "document");
        Write("sheet.xls", "table");
        Write("archive.tar.gz", "packed");
        QDir(Path()).mkpath(QStringLiteral("folder.png"));
        mkfifo(Path("fifo.png").toLocal8Bit().constData(), 0600);
        symlink(Path("a.png").toLocal8Bit().constData(), Path("link.png").toLocal8Bit().constData());
    }

    static QByteArray Png()
    {
        static const QByteArray bytes = Encoded("PNG");
        return bytes;
    }
    static QByteArray Jpeg()
    {
        static const QByteArray bytes = Encoded("JPEG");
        return bytes;
    }
    static QByteArray Gif()
    {
        static const QByteArray bytes = GifBytes();
        return bytes;
    }

    QString Path(const QString& name = QString()) const { return m_dir.path() + QLatin1Char('/') + name; }
    // A "file:///..." address of a file in the folder.
    QString FileUrl(const QString& name = QString()) const { return QLatin1String("file://") + Path(name); }

private:
    void Write(const QString& name, const QByteArray& bytes)
    {
        QDir(Path()).mkpath(QFileInfo(Path(name)).path());
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};
} // namespace

TEST(LoadImageResource, TypeAndPathFollowTheExtensionAndPicturesGetTheirSize)
{
    const ImageFolder folder;
    struct Case
    {
        QString name;
        QString path; // field 2; empty when no record results
        QString mime;
        QSize size; // empty when the record holds none
    };
    const Case cases[] = {
        {"a.png", "img/a.png", "image/png", {6, 4}},
        {"photo.JPG", "img/photo.JPG", "image/jpeg", {6, 4}},
        {"photo.jpeg", "img/photo.jpeg", "image/jpeg", {6, 4}},
        {"anim.gif", "img/anim.gif", "image/gif", {5, 3}},
        // A picture name on bytes that do not decode still makes an image record, without size.
        {"truncated.png", "img/truncated.png", "image/png", {}},
        {"fake.png", "img/fake.png", "image/png", {}},
        {"notes.txt", "files/notes.txt", "application/octet-stream", {}},
        {"a.b/readme", "files/readme", "application/octet-stream", {}},
        {"report.pdf", "files/report.pdf", "application/pdf", {}},
        {"letter.Doc", "files/letter.Doc", "application/msword", {}},
        {"sheet.xls", "files/sheet.xls", "application/vnd.ms-excel", {}},
        {"archive.tar.gz", "files/archive.tar.gz", "application/octet-stream", {}},
        {"empty.png", {}, {}, {}},
        {"missing.png", {}, {}, {}},
        {"folder.png", {}, {}, {}},
        {"fifo.png", {}, {}, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = folder.Path(c.name);
        const auto resource = LoadImageResource(path);
        if (c.path.isEmpty())
        {
            EXPECT_FALSE(resource);
            continue;
        }
        ASSERT_TRUE(resource);
        EXPECT_EQ(resource->GetString(ndb::ResourcePath), c.path);
        EXPECT_EQ(resource->GetString(ndb::ResourceFileName), c.path.section('/', 1));
        EXPECT_EQ(resource->GetString(ndb::ResourceMimeType), c.mime);
        EXPECT_EQ(resource->GetString(ndb::ResourceSource), path);
        EXPECT_EQ(resource->GetInt(ndb::ResourceSize), QFileInfo(path).size());
        EXPECT_EQ(resource->GetPayload().size(), QFileInfo(path).size());
        EXPECT_EQ(resource->GetString(ndb::ResourceId).size(), 38);
        ndb::CNdbFieldValue value;
        EXPECT_EQ(resource->GetField(ndb::ResourceWidth, value), !c.size.isEmpty());
        EXPECT_EQ(QSize(resource->GetInt(ndb::ResourceWidth), resource->GetInt(ndb::ResourceHeight)),
                  c.size.isEmpty() ? QSize(0, 0) : c.size);
    }
}

TEST(FetchImageResource, ResourceHoldsTheBytesAndTheFieldsOfTheReference)
{
    const ImageFolder folder;
    const QString reference = folder.FileUrl(QStringLiteral("a.png"));
    const auto resource = FetchImageResource(reference, QString());
    ASSERT_TRUE(resource);
    EXPECT_EQ(resource->GetPayload(), ImageFolder::Png());
    EXPECT_EQ(resource->GetString(ndb::ResourceId).size(), 38);
    EXPECT_EQ(resource->GetString(ndb::ResourcePath), QStringLiteral("img/a.png"));
    EXPECT_EQ(resource->GetString(ndb::ResourceFileName), QStringLiteral("a.png"));
    EXPECT_EQ(resource->GetString(ndb::ResourceMimeType), QStringLiteral("image/png"));
    EXPECT_EQ(resource->GetInt(ndb::ResourceSize), ImageFolder::Png().size());
    EXPECT_EQ(resource->GetString(ndb::ResourceSource), reference);
    EXPECT_NE(FetchImageResource(reference, QString())->GetString(ndb::ResourceId),
              resource->GetString(ndb::ResourceId));
}

TEST(FetchImageResource, ReadsTheFileTheReferenceNames)
{
    const ImageFolder folder;
    struct Case
    {
        QString reference;
        QString base;
        QString fileName; // of the resource; empty when none results
        QString mime;
    };
    const QString root = folder.Path();
    const Case cases[] = {
        {folder.FileUrl("A-UPPER.PNG"), {}, "A-UPPER.PNG", "image/png"},
        {"file://localhost" + root + "a.png", {}, "a.png", "image/png"},
        {"file:" + root + "a.png", {}, "a.png", "image/png"},
        {folder.FileUrl("with%20blank.png"), {}, "with%20blank.png", "image/png"},
        {folder.FileUrl("a.png?v=2"), {}, "a.png", "image/png"},
        {QString(folder.FileUrl("sub/b.png")).replace('/', '\\'), {}, "b.png", "image/png"},
        {folder.FileUrl("photo.jpeg"), {}, "photo.jpeg", "image/jpeg"},
        {folder.FileUrl("photo.jpg"), {}, "photo.jpg", "image/jpeg"},
        {folder.FileUrl("anim.gif"), {}, "anim.gif", "image/gif"},
        // The type is that of the content, whatever the name says.
        {folder.FileUrl("png-inside.gif"), {}, "png-inside.gif", "image/png"},
        {folder.FileUrl("link.png"), {}, "link.png", "image/png"},
        // Relative references are joined to the base, the folder of the pasted page.
        {"a.png", folder.FileUrl(), "a.png", "image/png"},
        {"sub/b.png", folder.FileUrl(), "b.png", "image/png"},
        {"sub\\b.png", QString(folder.FileUrl()).replace('/', '\\'), "b.png", "image/png"},
        {"sub/../a.png", folder.FileUrl(), "a.png", "image/png"},
        {root + "a.png", "file:///elsewhere/page/", "a.png", "image/png"},
        // Refused: names without a picture ending, files that are not GIF, JPEG or PNG, what is
        // not a regular file, addresses that name no local file.
        {folder.FileUrl("picture.txt"), {}, {}, {}},
        {folder.FileUrl("a.png.txt"), {}, {}, {}},
        {folder.FileUrl("a.png#x"), {}, {}, {}},
        {folder.FileUrl("missing.png"), {}, {}, {}},
        {folder.FileUrl("fake.png"), {}, {}, {}},
        {folder.FileUrl("bitmap.png"), {}, {}, {}},
        {folder.FileUrl("truncated.png"), {}, {}, {}},
        {folder.FileUrl("empty.png"), {}, {}, {}},
        {folder.FileUrl("folder.png"), {}, {}, {}},
        {folder.FileUrl("fifo.png"), {}, {}, {}},
        {"file://otherhost" + root + "a.png", {}, {}, {}},
        {"file:a.png", folder.FileUrl(), {}, {}},
        {"a.png", {}, {}, {}},
        {root + "a.png", {}, {}, {}},
        {"ftp://127.0.0.1/a.png", folder.FileUrl(), {}, {}},
        {"gopher://127.0.0.1/a.png", {}, {}, {}},
        {{}, folder.FileUrl("a.png"), {}, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.reference.toStdString() + " on " + c.base.toStdString());
        const auto resource = FetchImageResource(c.reference, c.base);
        if (c.fileName.isEmpty())
        {
            EXPECT_FALSE(resource);
            continue;
        }
        ASSERT_TRUE(resource);
        EXPECT_EQ(resource->GetString(ndb::ResourceFileName), c.fileName);
        EXPECT_EQ(resource->GetString(ndb::ResourcePath), "img/" + c.fileName);
        EXPECT_EQ(resource->GetString(ndb::ResourceMimeType), c.mime);
        EXPECT_EQ(resource->GetString(ndb::ResourceSource), c.reference);
        EXPECT_EQ(resource->GetInt(ndb::ResourceSize), resource->GetPayload().size());
    }
}

TEST(FetchImageResource, DownloadsWithOneGetAndAcceptsOnlyStatus200)
{
    const ImageFolder folder;
    const FolderHttpServer server(folder.Path());
    ASSERT_NE(server.Port(), 0);
    const QString port = QString::number(server.Port());
    struct Case
    {
        QString reference;
        QString base;
        QString requested; // the one request the server saw
        QString fileName;  // of the resource; empty when none results
        QString mime;
    };
    const QString site = server.Url(QStringLiteral("sub/"));
    const Case cases[] = {
        {server.Url("a.png"), {}, "/a.png", "a.png", "image/png"},
        {"HTTP://127.0.0.1:" + port + "/photo.jpg", {}, "/photo.jpg", "photo.jpg", "image/jpeg"},
        {server.Url("anim.gif?size=small#top"), {}, "/anim.gif?size=small", "anim.gif", "image/gif"},
        {"b.png", site, "/sub/b.png", "b.png", "image/png"},
        {"../a.png", site, "/a.png", "a.png", "image/png"},
        {"/a.png", site, "/a.png", "a.png", "image/png"},
        {"//127.0.0.1:" + port + "/photo.jpeg", site, "/photo.jpeg", "photo.jpeg", "image/jpeg"},
        {server.Url("missing.png"), {}, "/missing.png", {}, {}},
        {server.Url("fake.png"), {}, "/fake.png", {}, {}},
        {server.Url("bitmap.png"), {}, "/bitmap.png", {}, {}},
    };
    qsizetype seen = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.reference.toStdString());
        const auto resource = FetchImageResource(c.reference, c.base);
        const QStringList requests = server.RequestedPaths();
        ASSERT_EQ(requests.size(), seen + 1);
        EXPECT_EQ(requests.last(), c.requested);
        seen = requests.size();
        if (c.fileName.isEmpty())
        {
            EXPECT_FALSE(resource);
            continue;
        }
        ASSERT_TRUE(resource);
        EXPECT_EQ(resource->GetString(ndb::ResourcePath), "img/" + c.fileName);
        EXPECT_EQ(resource->GetString(ndb::ResourceMimeType), c.mime);
        EXPECT_EQ(resource->GetString(ndb::ResourceSource), c.reference);
        QFile file(folder.Path(c.requested.mid(1).section('?', 0, 0)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(resource->GetPayload(), file.readAll());
    }

    // Refused before anything is sent: no picture ending, a port out of range, a user name in
    // the host part (which must not turn into another destination).
    for (const QString& reference :
         {server.Url("picture.txt"), server.Url("index.html"), QStringLiteral("http://127.0.0.1:99999/a.png"),
          "http://user@127.0.0.1:" + port + "/a.png", QStringLiteral("http:///a.png")})
    {
        SCOPED_TRACE(reference.toStdString());
        EXPECT_FALSE(FetchImageResource(reference, QString()));
    }
    EXPECT_EQ(server.RequestedPaths().size(), seen);
}

TEST(FetchImageResource, ServerThatNeverAnswersEndsWithTheClientTimeout)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    // Connections complete in the backlog and are never accepted, so no reply ever comes.
    ASSERT_EQ(listen(listener, 4), 0);

    const int timeout = CINetFile::GetTimeout();
    CINetFile::SetTimeout(300);
    const auto resource = FetchImageResource(
        QStringLiteral("http://127.0.0.1:%1/a.png").arg(ntohs(address.sin_port)), QString());
    CINetFile::SetTimeout(timeout);
    close(listener);
    EXPECT_FALSE(resource);
}

TEST(FetchImageResource, WaitCursorIsTakenDownAgain)
{
    ASSERT_TRUE(qobject_cast<QGuiApplication*>(QCoreApplication::instance()));
    const ImageFolder folder;
    EXPECT_TRUE(FetchImageResource(folder.FileUrl(QStringLiteral("a.png")), QString()));
    EXPECT_FALSE(FetchImageResource(folder.FileUrl(QStringLiteral("fake.png")), QString()));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
