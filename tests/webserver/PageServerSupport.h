#pragma once

#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "gre/GrePipeline.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "webserver/HttpResponseText.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace PageServerTest
{
inline const QString FileName = QStringLiteral("spring.kvnl");
inline const QString Title = QStringLiteral("Spring News");
inline const QString Layout =
    QStringLiteral("<html><head><title>Spring News</title></head><body><h1>Spring News</h1>"
                   "<p>Fresh \u20AC offers</p><img src=\"img/logo.png\" /></body></html>");
inline const QByteArray ReadmeText = "Read me first.\n";

inline QByteArray PngBytes(int width, int height, QRgb color)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline std::unique_ptr<ndb::CNdbResource> MakeResource(const QString& path, const QString& mimeType,
                                                       const QByteArray& bytes)
{
    auto resource = std::make_unique<ndb::CNdbResource>();
    resource->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(path));
    resource->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(path.section(u'/', -1)));
    resource->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(mimeType));
    resource->SetPayload(bytes);
    return resource;
}

// A newsletter with a logo, a text file and one effect pipeline; returns the pipeline's id.
inline std::unique_ptr<ndb::CNdbNewsletter> MakeNewsletter(QString* pipelineId = nullptr,
                                                           const QString& name = Title)
{
    auto newsletter = std::make_unique<ndb::CNdbNewsletter>(name);
    newsletter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(FileName));
    newsletter->Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(Layout));
    newsletter->Layout().AddResource(MakeResource("img/logo.png", "image/png", PngBytes(40, 30, 0xFF3366CC)));
    newsletter->Layout().AddResource(MakeResource("files/readme.txt", "text/plain", ReadmeText));
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetSize(QSize(64, 48));
    const QString id = pipeline->GetHashKey();
    newsletter->Project().SetPipeline(id, std::move(pipeline));
    if (pipelineId)
        *pipelineId = id;
    return newsletter;
}

struct Fetched
{
    int exitCode{-1};
    HttpResponseText response;
};

// One GET with the curl program; extra arguments go before the address.
inline Fetched Fetch(int port, const QString& path, const QStringList& extra = {})
{
    QProcess curl;
    curl.start("curl", QStringList{"--silent", "--include", "--max-time", "60"} + extra +
                           QStringList{QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)});
    curl.waitForFinished(90000);
    Fetched fetched;
    fetched.exitCode = curl.exitStatus() == QProcess::NormalExit ? curl.exitCode() : -1;
    fetched.response = HttpResponseText::Parse(curl.readAllStandardOutput());
    return fetched;
}

// Sends the bytes as they are and returns all the server sent until it closed the connection.
inline QByteArray SendRaw(int port, const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!socket.waitForConnected(10000))
        return "no connection";
    socket.write(request);
    socket.waitForBytesWritten(10000);
    QByteArray received;
    while (socket.state() == QAbstractSocket::ConnectedState)
    {
        if (!socket.waitForReadyRead(70000))
            break;
        received += socket.readAll();
    }
    received += socket.readAll();
    return received;
}

// The program's server on a free port of 127.0.0.1, serving from its own context.
class PageServer : public testing::Test
{
protected:
    void SetUp() override
    {
        m_port = m_server.Start();
        ASSERT_NE(m_port, 0);
        ASSERT_EQ(m_context.GetServerPort(), m_port);
    }

    QByteArray HostLine() const { return "Host: localhost:" + QByteArray::number(m_port) + "\r\n"; }

    CKVContext m_context;
    CKVWebServer m_server{&m_context};
    int m_port{0};
};
} // namespace PageServerTest
