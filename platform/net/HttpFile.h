#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <functional>
#include <memory>

class CInternetSession;

// One HTTP or HTTPS request and its response. SendRequest runs the whole exchange; the body is
// then read from memory. The body is bounded so that a hostile or broken server cannot exhaust
// memory. HTTPS always checks the server's certificate chain and name.
class CHttpFile
{
public:
    static constexpr qint64 MaxBodySize = qint64(128) * 1024 * 1024;

    static std::unique_ptr<CHttpFile> Open(const CInternetSession& session, const QByteArray& verb,
                                           const QByteArray& url, bool followRedirects);
    ~CHttpFile();

    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;

    // Adds "name: value" unless the request already carries a header of that name.
    void AddRequestHeaderIfNew(const QByteArray& name, const QByteArray& value);

    // Lowers the body limit for this request; it never rises above MaxBodySize or the session's
    // smaller limit.
    void SetMaxBodySize(qint64 bytes);

    // Called with the body's running total as its bytes arrive during SendRequest.
    void SetBodyProgress(std::function<void(qint64 received)> progress)
    {
        m_bodyProgress = std::move(progress);
    }

    // False when no complete response arrived: no connection, a failed certificate check, a
    // time-out, a reply without a readable status line, or a body beyond the limit.
    bool SendRequest(const QByteArray& body);

    // The status of the final response; 0 before a response.
    int GetStatusCode() const { return m_statusCode; }
    // The value of a header of the final response, compared without regard to case; found tells
    // whether it was present.
    QByteArray QueryInfo(const QByteArray& name, bool* found = nullptr) const;

    // Copies up to size bytes of the body not read yet; 0 at its end.
    qint64 Read(char* buffer, qint64 size);

    void Close();

private:
    CHttpFile() = default;

    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static size_t OnBody(char* data, size_t size, size_t count, void* self);

    void* m_curl{nullptr};
    void* m_headerList{nullptr};
    QList<QPair<QByteArray, QByteArray>> m_requestHeaders;
    QList<QPair<QByteArray, QByteArray>> m_responseHeaders;
    qint64 m_responseHeaderBytes{0};
    qint64 m_maxBodySize{MaxBodySize};
    int m_statusCode{0};
    QByteArray m_body;
    qint64 m_readPosition{0};
    std::function<void(qint64)> m_bodyProgress;
};
