#include "platform/net/HttpFile.h"

#include "platform/net/InternetSession.h"

#include <curl/curl.h>

#include <algorithm>

namespace
{
// Limits on the response head: a server flooding header lines fails the request.
constexpr qint64 MaxHeaderBytes = 256 * 1024;
constexpr qsizetype MaxHeaderCount = 500;
constexpr long MaxRedirects = 10;

long WholeSecondsAtLeastOne(int milliseconds)
{
    return std::max<long>(1, (static_cast<long>(milliseconds) + 999) / 1000);
}

CURL* Handle(void* curl)
{
    return static_cast<CURL*>(curl);
}
} // namespace

std::unique_ptr<CHttpFile> CHttpFile::Open(const CInternetSession& session, const QByteArray& verb,
                                           const QByteArray& url, bool followRedirects)
{
    CURL* curl = curl_easy_init();
    if (!curl)
        return nullptr;
    std::unique_ptr<CHttpFile> file(new CHttpFile);
    file->m_curl = curl;
    if (session.GetMaxBodySize() > 0)
        file->m_maxBodySize = std::min(session.GetMaxBodySize(), MaxBodySize);

    const QByteArray agent = session.GetUserAgent().toUtf8();
    bool ok = curl_easy_setopt(curl, CURLOPT_URL, url.constData()) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.constData()) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, followRedirects ? 1L : 0L) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_MAXREDIRS, MaxRedirects) == CURLE_OK;
    ok = ok &&
         curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(session.GetConnectTimeout())) == CURLE_OK;
    // A transfer that moves no byte for the whole time-out is given up, like a receive time-out.
    ok = ok && curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME,
                                WholeSecondsAtLeastOne(session.GetTransferTimeout())) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(session.GetTotalTimeout())) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &CHttpFile::OnHeader) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_HEADERDATA, file.get()) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CHttpFile::OnBody) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_WRITEDATA, file.get()) == CURLE_OK;
    if (verb == "GET")
        ok = ok && curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L) == CURLE_OK;
    else if (verb != "POST")
        ok = ok && curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb.constData()) == CURLE_OK;
    return ok ? std::move(file) : nullptr;
}

CHttpFile::~CHttpFile()
{
    Close();
}

void CHttpFile::AddRequestHeaderIfNew(const QByteArray& name, const QByteArray& value)
{
    for (const auto& header : std::as_const(m_requestHeaders))
    {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return;
    }
    m_requestHeaders.append({name, value});
}

void CHttpFile::SetMaxBodySize(qint64 bytes)
{
    m_maxBodySize = std::clamp<qint64>(bytes, 0, m_maxBodySize);
}

bool CHttpFile::SendRequest(const QByteArray& body)
{
    if (!m_curl)
        return false;
    CURL* curl = Handle(m_curl);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(m_maxBodySize));
    m_responseHeaders.clear();
    m_responseHeaderBytes = 0;
    m_statusCode = 0;
    m_body.clear();
    m_readPosition = 0;

    curl_slist* list = static_cast<curl_slist*>(m_headerList);
    curl_slist_free_all(list);
    list = nullptr;
    for (const auto& header : std::as_const(m_requestHeaders))
    {
        const QByteArray line = header.first + ": " + header.second;
        list = curl_slist_append(list, line.constData());
    }
    // Bodies go out at once rather than after an interim "100 Continue".
    list = curl_slist_append(list, "Expect:");
    m_headerList = list;
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    if (!body.isEmpty())
    {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
        curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body.constData());
    }

    if (curl_easy_perform(curl) != CURLE_OK)
    {
        m_body.clear();
        return false;
    }
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status < 100 || status > 999)
        return false;
    m_statusCode = static_cast<int>(status);
    return true;
}

QByteArray CHttpFile::QueryInfo(const QByteArray& name, bool* found) const
{
    for (const auto& header : m_responseHeaders)
    {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
        {
            if (found)
                *found = true;
            return header.second;
        }
    }
    if (found)
        *found = false;
    return {};
}

qint64 CHttpFile::Read(char* buffer, qint64 size)
{
    const qint64 count = std::min(size, m_body.size() - m_readPosition);
    if (count <= 0)
        return 0;
    std::copy_n(m_body.constData() + m_readPosition, count, buffer);
    m_readPosition += count;
    return count;
}

void CHttpFile::Close()
{
    if (m_curl)
        curl_easy_cleanup(Handle(m_curl));
    m_curl = nullptr;
    curl_slist_free_all(static_cast<curl_slist*>(m_headerList));
    m_headerList = nullptr;
}

size_t CHttpFile::OnHeader(char* data, size_t size, size_t count, void* self)
{
    auto* file = static_cast<CHttpFile*>(self);
    const size_t length = size * count;
    file->m_responseHeaderBytes += static_cast<qint64>(length);
    if (file->m_responseHeaderBytes > MaxHeaderBytes)
        return 0;
    const QByteArray line = QByteArray(data, static_cast<qsizetype>(length)).trimmed();
    // Each status line starts a new response (interim replies, redirects): only the final
    // response's headers count.
    if (line.startsWith("HTTP/"))
    {
        file->m_responseHeaders.clear();
        return length;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return length;
    if (file->m_responseHeaders.size() >= MaxHeaderCount)
        return 0;
    file->m_responseHeaders.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    return length;
}

size_t CHttpFile::OnBody(char* data, size_t size, size_t count, void* self)
{
    auto* file = static_cast<CHttpFile*>(self);
    const size_t length = size * count;
    if (file->m_body.size() + static_cast<qint64>(length) > file->m_maxBodySize)
        return 0;
    file->m_body.append(data, static_cast<qsizetype>(length));
    if (file->m_bodyProgress)
        file->m_bodyProgress(file->m_body.size());
    return length;
}
