#pragma once

#include "webserver/HttpChannel.h"
#include "webserver/HttpHeaders.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <netinet/in.h>

#include <map>
#include <memory>

enum HttpMethod
{
    HttpMethodNone = 0,
    HttpOptions = 1,
    HttpGet = 2,
    HttpHead = 3,
    HttpPost = 4,
    HttpPut = 5,
    HttpDelete = 6,
    HttpTrace = 7,
    HttpConnect = 8,
};

// The Server header of the local server and the generator text of its pages.
extern const QString ServerBanner;

// One HTTP/1.1 request and its response on one connection of the local web server. The
// connection thread calls the steps Reset, ReadRequest, PrepareResponse, Handle, WriteHead,
// WriteBody and Finish in that order, once per request of the connection; subclasses answer
// the request in Handle and WriteBody. The base class answers every request with a small test
// page.
class CHttpServiceBase
{
public:
    using ParameterMap = std::map<QString, QString>;

    // Limits of what one request may hold; a request beyond them is refused.
    static constexpr qsizetype MaxLineBytes = 65000;
    static constexpr int MaxHeaderLines = 1000;
    static constexpr qsizetype MaxHeadBytes = 256 * 1024;
    static constexpr qsizetype MaxFormBodyBytes = 0x100000;
    // The whole request head has to arrive within this time, however slowly it trickles in.
    static constexpr int RequestHeadSeconds = 60;
    // A form body has to arrive within this time once the head is in.
    static constexpr int FormBodySeconds = 20;
    static constexpr int WriteLineSeconds = 20;

    CHttpServiceBase();
    virtual ~CHttpServiceBase();
    CHttpServiceBase(const CHttpServiceBase&) = delete;
    CHttpServiceBase& operator=(const CHttpServiceBase&) = delete;

    virtual bool Reset();
    virtual bool ReadRequest();
    virtual bool PrepareResponse();
    virtual bool Handle();
    virtual bool WriteHead();
    virtual bool WriteBody();
    // True when the response says keep-alive: the connection then carries the next request.
    virtual bool Finish();

    // Sends what the connection still holds of the response; false when that failed.
    bool FlushResponse();

    // How many bytes the request head at the start of the bytes takes, up to and with the blank
    // line that ends it, read as ReadRequest reads it: 0 while the head is incomplete, -1 when
    // it can no longer become one within the limits.
    static qsizetype RequestHeadSize(QByteArrayView bytes);
    // How many bytes of body ReadRequest takes after the given request head; 0 for none.
    static qsizetype FormBodySize(QByteArrayView head);

    // Answers a refused request with the status and closes the exchange; a status of 0 sends
    // nothing.
    void Refuse(int status);
    // The whole response to a refused request: the status and "Connection: close".
    static QByteArray RefusalResponse(int status);

    // Hands the service its connection. The port is the one the server listens on: only
    // requests addressed to that port on this machine are served.
    void AttachConnection(std::unique_ptr<CHttpChannel> channel, const sockaddr_in& peerAddress,
                          int serverPort);
    // May be called from another thread while a step waits on the connection.
    void AbortConnection();
    void CloseConnection();
    const sockaddr_in& PeerAddress() const { return m_peerAddress; }

    HttpMethod Method() const { return m_method; }
    const QString& RequestTarget() const { return m_requestTarget; }
    const QString& RequestVersion() const { return m_requestVersion; }
    int StatusCode() const { return m_statusCode; }
    void SetStatusCode(int code) { m_statusCode = code; }

    bool GetRequestPath(QString& host, QString& path) const;
    bool GetRequestHeader(int id, QString& value) const;
    bool GetResponseHeader(int id, QString& value) const;
    void SetResponseHeader(int id, const QString& value) { m_responseHeaders[id] = value; }
    void SetContentLength(qint64 count);
    bool GetQueryParameter(const QString& name, QString& value) const;
    bool GetFormParameter(const QString& name, QString& value) const;
    // Decimal integer of the query or, failing that, form parameter; false and 0 when neither
    // has the name.
    bool GetParameter(const QString& name, int& value) const;

    static QString GetHeaderName(int id);
    // 0 for a name that is not in the table; the name is compared without regard to case.
    static int GetHeaderId(const QString& name);
    // Empty for a code that is not in the table.
    static QString GetReasonPhrase(int code);
    static const QByteArray& TestPage();

protected:
    // Throws the given status when the line is longer than a line may be.
    QString ReadLine(int overlongStatus);
    void ParseRequestLine(const QString& line);
    void ParseHeaderLine(const QString& line);
    static void ParseQuery(const QString& text, ParameterMap& parameters);
    void WriteBytes(const QByteArray& bytes, int seconds);

private:
    bool IsAddressedToThisServer() const;
    QByteArray ResponseHead() const;
    void ReadRequestHead();
    bool HasFormBody() const;
    // How many bytes of body the reader takes; marks a body that it leaves unread.
    qint64 BodyToRead();
    void ReadRequestBody();

    std::unique_ptr<CHttpChannel> m_channel;
    sockaddr_in m_peerAddress{};
    int m_serverPort{0};
    CHttpChannel::Deadline m_headDeadline{};

    HttpMethod m_method{HttpMethodNone};
    QString m_requestTarget;
    QString m_requestVersion;
    QString m_responseVersion;
    int m_statusCode{0};
    std::map<int, QString> m_requestHeaders;
    std::map<int, QString> m_responseHeaders;
    ParameterMap m_queryParameters;
    ParameterMap m_formParameters;
    // The request carries a body that was not read, so the connection cannot be read further.
    bool m_bodyUnread{false};
};
