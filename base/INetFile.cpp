#include "base/INetFile.h"

#include "base/AnsiCodePage.h"
#include "base/TextEncoding.h"
#include "platform/net/HttpConnection.h"
#include "platform/net/HttpFile.h"
#include "platform/net/InternetSession.h"

#include <algorithm>
#include <atomic>

namespace
{
std::atomic<int> s_timeout{CINetFile::DefaultTimeout};
constexpr qint64 ReadBlockSize = 8192;
} // namespace

CINetFile::CINetFile()
    : m_userAgent(QStringLiteral(
          "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; .NET CLR 1.0.3705; .NET CLR 1.1.4322)"))
{
}

CINetFile::~CINetFile()
{
    Close();
}

void CINetFile::SetTimeout(int milliseconds)
{
    s_timeout = std::max(1, milliseconds);
}

int CINetFile::GetTimeout()
{
    return s_timeout;
}

bool CINetFile::SendRequest(const QString& server, const QString& objectPath, const QString& body, int port,
                            bool secure)
{
    if (m_session)
        Close();
    m_statusCode = -1;
    m_contentType.clear();
    m_body.clear();

    m_session = std::make_unique<CInternetSession>(m_userAgent);
    m_session->SetConnectTimeout(s_timeout);
    m_session->SetTransferTimeout(s_timeout);
    m_connection = m_session->GetHttpConnection(server, port, secure);
    if (!m_connection)
    {
        Close();
        return false;
    }
    const bool post = !body.isEmpty();
    m_request = m_connection->OpenRequest(post ? "POST" : "GET", objectPath, !post);
    if (!m_request)
    {
        Close();
        return false;
    }
    if (m_maxBodySize >= 0)
        m_request->SetMaxBodySize(m_maxBodySize);
    m_request->SetBodyProgress(m_bodyProgress);
    if (post)
        m_request->AddRequestHeaderIfNew("Content-type", "application/x-www-form-urlencoded");
    if (!m_request->SendRequest(body.toUtf8()))
    {
        Close();
        return false;
    }
    m_statusCode = m_request->GetStatusCode();
    m_contentType = QString::fromLatin1(m_request->QueryInfo("Content-Type"));
    return true;
}

qsizetype CINetFile::ReadResponse()
{
    if (!m_request)
        return 0;
    m_body.clear();
    char block[ReadBlockSize];
    while (const qint64 count = m_request->Read(block, ReadBlockSize))
        m_body.append(block, count);
    return m_body.size();
}

QString CINetFile::GetResponseText() const
{
    if (!m_session || m_body.isEmpty())
        return {};
    // A reply that names no charset is taken as UTF-8 when it reads as such.
    if (IsUtf8Content() || (!m_contentType.contains(QLatin1String("charset"), Qt::CaseInsensitive) &&
                            TextEncoding::IsUtf8Text(m_body)))
        return QString::fromUtf8(m_body);
    return AnsiCodePage::ToText(m_body);
}

// Servers write the charset in either case ("UTF-8" is the common spelling).
bool CINetFile::IsUtf8Content() const
{
    return m_contentType.contains(QLatin1String("utf-8"), Qt::CaseInsensitive);
}

QString CINetFile::GetServerHeader() const
{
    if (!m_request)
        return {};
    return QString::fromLatin1(m_request->QueryInfo("Server"));
}

void CINetFile::Close()
{
    m_request.reset();
    m_connection.reset();
    m_session.reset();
}
