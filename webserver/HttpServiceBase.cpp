#include "webserver/HttpServiceBase.h"

#include "base/AnsiCodePage.h"
#include "base/TextHelpers.h"
#include "webserver/HttpServiceError.h"
#include "webserver/MemoryChannel.h"
#include "webserver/RequestPath.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string>

const QString ServerBanner = QStringLiteral("Kelvora (www.talvecor.com)");

namespace
{
struct HeaderName
{
    int id;
    const char* name;
};

constexpr std::array<HeaderName, 48> HeaderNames = {{
    {HttpHeader::CacheControl, "Cache-Control"},
    {HttpHeader::Connection, "Connection"},
    {HttpHeader::Date, "Date"},
    {HttpHeader::Pragma, "Pragma"},
    {HttpHeader::Trailer, "Trailer"},
    {HttpHeader::TransferEncoding, "Transfer-Encoding"},
    {HttpHeader::Upgrade, "Upgrade"},
    {HttpHeader::Via, "Via"},
    {HttpHeader::Warning, "Warning"},
    {HttpHeader::Accept, "Accept"},
    {HttpHeader::AcceptCharset, "Accept-Charset"},
    {HttpHeader::AcceptEncoding, "Accept-Encoding"},
    {HttpHeader::AcceptLanguage, "Accept-Language"},
    {HttpHeader::Authorization, "Authorization"},
    {HttpHeader::Expect, "Expect"},
    {HttpHeader::From, "From"},
    {HttpHeader::Host, "Host"},
    {HttpHeader::IfMatch, "If-Match"},
    {HttpHeader::IfModifiedSince, "If-Modified-Since"},
    {HttpHeader::IfNoneMatch, "If-None-Match"},
    {HttpHeader::IfRange, "If-Range"},
    {HttpHeader::IfUnmodifiedSince, "If-Unmodified-Since"},
    {HttpHeader::MaxForwards, "Max-Forwards"},
    {HttpHeader::ProxyAuthorization, "Proxy-Authorization"},
    {HttpHeader::Range, "Range"},
    {HttpHeader::Referer, "Referer"},
    {HttpHeader::TE, "TE"},
    {HttpHeader::UserAgent, "User-Agent"},
    {HttpHeader::AcceptRanges, "Accept-Ranges"},
    {HttpHeader::Age, "Age"},
    {HttpHeader::ETag, "ETag"},
    {HttpHeader::Location, "Location"},
    {HttpHeader::ProxyAuthenticate, "Proxy-Authenticate"},
    {HttpHeader::RetryAfter, "Retry-After"},
    {HttpHeader::Server, "Server"},
    {HttpHeader::Vary, "Vary"},
    {HttpHeader::WWWAuthenticate, "WWW-Authenticate"},
    {HttpHeader::Allow, "Allow"},
    {HttpHeader::ContentEncoding, "Content-Encoding"},
    {HttpHeader::ContentLanguage, "Content-Language"},
    {HttpHeader::ContentLength, "Content-Length"},
    {HttpHeader::ContentLocation, "Content-Location"},
    {HttpHeader::ContentMD5, "Content-MD5"},
    {HttpHeader::ContentRange, "Content-Range"},
    {HttpHeader::ContentType, "Content-Type"},
    {HttpHeader::Expires, "Expires"},
    {HttpHeader::LastModified, "Last-Modified"},
    {HttpHeader::ExtensionHeader, "extension-header"},
}};

struct ReasonPhrase
{
    int code;
    const char* phrase;
};

constexpr std::array<ReasonPhrase, 41> ReasonPhrases = {{
    {100, "Continue"},
    {101, "Switching Protocols"},
    {200, "OK"},
    {201, "Created"},
    {202, "Accepted"},
    {203, "Non-Authoritative Information"},
    {204, "No Content"},
    {205, "Reset Content"},
    {206, "Partial Content"},
    {300, "Multiple Choices"},
    {301, "Moved Permanently"},
    {302, "Found"},
    {303, "See Other"},
    {304, "Not Modified"},
    {305, "Use Proxy"},
    {307, "Temporary Redirect"},
    {400, "Bad Request"},
    {401, "Unauthorized"},
    {402, "Payment Required"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {406, "Not Acceptable"},
    {407, "Proxy Authentication Required"},
    {408, "Request Time-out"},
    {409, "Conflict"},
    {410, "Gone"},
    {411, "Length Required"},
    {412, "Precondition Failed"},
    {413, "Request Entity Too Large"},
    {414, "Request-URI Too Large"},
    {415, "Unsupported Media Type"},
    {416, "Requested range not satisfiable"},
    {417, "Expectation Failed"},
    {431, "Request Header Fields Too Large"},
    {500, "Internal Server Error"},
    {501, "Not Implemented"},
    {502, "Bad Gateway"},
    {503, "Service Unavailable"},
    {504, "Gateway Time-out"},
    {505, "HTTP Version not supported"},
}};

// The table's spelling, or an empty text for an id or code that is not in it.
const char* HeaderNameText(int id)
{
    for (const HeaderName& header : HeaderNames)
    {
        if (header.id == id)
            return header.name;
    }
    return "";
}

const char* ReasonPhraseText(int code)
{
    for (const ReasonPhrase& reason : ReasonPhrases)
    {
        if (reason.code == code)
            return reason.phrase;
    }
    return "";
}

// Header names are ASCII: folding only A to Z orders them without regard to case, and much
// faster than a comparison that knows every script.
struct AsciiCaseInsensitiveLess
{
    using is_transparent = void;
    static char16_t Fold(QChar c)
    {
        return c >= u'A' && c <= u'Z' ? c.unicode() + (u'a' - u'A') : c.unicode();
    }
    bool operator()(QStringView a, QStringView b) const
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](QChar x, QChar y) { return Fold(x) < Fold(y); });
    }
};

// The Date header's text for now, formatted once a second.
QString HttpDateNow()
{
    thread_local qint64 formattedSecond = -1;
    thread_local QString text;
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != formattedSecond)
    {
        text = QLocale::c().toString(QDateTime::fromSecsSinceEpoch(second, Qt::UTC),
                                     QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
        formattedSecond = second;
    }
    return text;
}

constexpr std::array<const char*, 8> MethodNames = {"OPTIONS", "GET",    "HEAD",  "POST",
                                                    "PUT",     "DELETE", "TRACE", "CONNECT"};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// "+" is a blank and "%" with two hexadecimal digits one byte; the bytes are UTF-8. A "%" that
// is not followed by two digits stays as it is.
QString DecodeQueryValue(const QString& value)
{
    // The text was decoded from the request's bytes with the ANSI code page; going back gives
    // those bytes again.
    const QByteArray raw = AnsiCodePage::FromText(value);
    QByteArray bytes;
    bytes.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i)
    {
        const char c = raw.at(i);
        if (c == '+')
        {
            bytes.append(' ');
        }
        else if (c == '%' && i + 2 < raw.size() && HexDigit(raw.at(i + 1)) >= 0 &&
                 HexDigit(raw.at(i + 2)) >= 0)
        {
            bytes.append(static_cast<char>(HexDigit(raw.at(i + 1)) * 16 + HexDigit(raw.at(i + 2))));
            i += 2;
        }
        else
        {
            bytes.append(c);
        }
    }
    return QString::fromUtf8(bytes);
}

bool IsDecimal(const QString& text, qsizetype maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return false;
    for (const QChar c : text)
    {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Whether the byte is white space once the head is decoded as text, so that the line it stands
// in may trim to nothing.
bool IsBlankByte(char c)
{
    static const std::array<bool, 256> blank = []
    {
        std::array<bool, 256> table{};
        for (int byte = 0; byte < 256; ++byte)
        {
            const char text = static_cast<char>(byte);
            table[byte] = AnsiCodePage::ToText(&text, 1).trimmed().isEmpty();
        }
        return table;
    }();
    return blank[static_cast<unsigned char>(c)];
}

// UTF-8 takes at most three bytes for each UTF-16 unit.
qsizetype MaxUtf8Bytes(const QString& value)
{
    return 3 * value.size();
}

// Puts the value as UTF-8 at out and returns the end. A line break inside a value would end its
// header line and let the value write headers, or a body, of its own: it becomes a blank.
char* PutOnOneLine(const QString& value, char* out)
{
    char* const start = out;
    const bool ascii = std::all_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
    {
        for (const QChar c : value)
            *out++ = static_cast<char>(c.unicode());
    }
    else
    {
        const QByteArray bytes = value.toUtf8();
        out = std::copy(bytes.begin(), bytes.end(), out);
    }
    std::replace_if(
        start, out, [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

// The value stored under the key of a header or parameter map; false when there is none.
template <typename Map> bool FindValue(const Map& map, const typename Map::key_type& key, QString& value)
{
    const auto found = map.find(key);
    if (found == map.end())
        return false;
    value = found->second;
    return true;
}
} // namespace

CHttpServiceBase::CHttpServiceBase()
{
    m_peerAddress.sin_family = AF_INET;
}

CHttpServiceBase::~CHttpServiceBase()
{
    CloseConnection();
}

bool CHttpServiceBase::Reset()
{
    m_method = HttpMethodNone;
    m_requestTarget.clear();
    m_requestVersion.clear();
    m_requestHeaders.clear();
    m_responseHeaders.clear();
    m_queryParameters.clear();
    m_formParameters.clear();
    m_bodyUnread = false;
    return true;
}

bool CHttpServiceBase::ReadRequest()
{
    try
    {
        ReadRequestHead();
        // A page elsewhere can point a host name of its own at 127.0.0.1; only requests that
        // name this server by its local address and port are served.
        if (!IsAddressedToThisServer())
            throw CHttpServiceError(400);
        ReadRequestBody();
        return true;
    }
    catch (const CHttpServiceError& error)
    {
        Refuse(error.Status());
        return false;
    }
    catch (...)
    {
        return false;
    }
}

bool CHttpServiceBase::PrepareResponse()
{
    m_responseVersion = QStringLiteral("HTTP/1.1");
    m_statusCode = 200;
    m_responseHeaders[HttpHeader::Server] = ServerBanner;
    m_responseHeaders[HttpHeader::Date] = HttpDateNow();
    SetContentLength(TestPage().size());
    m_responseHeaders[HttpHeader::ContentType] = QStringLiteral("text/html");
    m_responseHeaders[HttpHeader::CacheControl] = QStringLiteral("no-cache");
    // A body left unread would be taken for the next request.
    QString connection;
    if (!m_bodyUnread && GetRequestHeader(HttpHeader::Connection, connection) &&
        connection.compare(QLatin1String("keep-alive"), Qt::CaseInsensitive) == 0)
        m_responseHeaders[HttpHeader::Connection] = connection;
    else
        m_responseHeaders[HttpHeader::Connection] = QStringLiteral("close");
    return true;
}

bool CHttpServiceBase::Handle()
{
    return true;
}

bool CHttpServiceBase::WriteHead()
{
    try
    {
        WriteBytes(ResponseHead(), WriteLineSeconds);
        return true;
    }
    catch (...)
    {
        return false;
    }
}

// The status line and the header lines, each encoded as UTF-8, as one block. Written into one
// allocation sized for the worst case, since every response of the server passes here.
QByteArray CHttpServiceBase::ResponseHead() const
{
    const QByteArray version = m_responseVersion.toUtf8();
    const char* const reason = ReasonPhraseText(m_statusCode);
    char status[16] = {' '};
    char* const statusEnd = std::to_chars(status + 1, status + sizeof(status) - 1, m_statusCode).ptr;
    *statusEnd = ' ';
    const int statusLength = static_cast<int>(statusEnd + 1 - status);
    qsizetype bound = version.size() + statusLength + static_cast<qsizetype>(std::strlen(reason)) + 4;
    for (const auto& [id, value] : m_responseHeaders)
        bound += static_cast<qsizetype>(std::strlen(HeaderNameText(id))) + 4 + MaxUtf8Bytes(value);

    QByteArray head(bound, Qt::Uninitialized);
    char* out = head.data();
    const auto put = [&out](const char* bytes, size_t length)
    {
        std::memcpy(out, bytes, length);
        out += length;
    };
    put(version.constData(), static_cast<size_t>(version.size()));
    put(status, static_cast<size_t>(statusLength));
    put(reason, std::strlen(reason));
    put("\r\n", 2);
    for (const auto& [id, value] : m_responseHeaders)
    {
        const char* const name = HeaderNameText(id);
        put(name, std::strlen(name));
        put(": ", 2);
        out = PutOnOneLine(value, out);
        put("\r\n", 2);
    }
    put("\r\n", 2);
    head.truncate(out - head.constData());
    return head;
}

bool CHttpServiceBase::WriteBody()
{
    try
    {
        WriteBytes(TestPage(), WriteLineSeconds);
        return true;
    }
    catch (...)
    {
        return false;
    }
}

bool CHttpServiceBase::Finish()
{
    QString connection;
    return GetResponseHeader(HttpHeader::Connection, connection) &&
           connection.compare(QLatin1String("keep-alive"), Qt::CaseInsensitive) == 0;
}

bool CHttpServiceBase::FlushResponse()
{
    try
    {
        if (!m_channel)
            return false;
        m_channel->Flush();
        return true;
    }
    catch (...)
    {
        return false;
    }
}

qsizetype CHttpServiceBase::RequestHeadSize(QByteArrayView bytes)
{
    // The first line is the request line, which ReadRequest never takes for the end.
    qsizetype start = 0;
    for (bool requestLine = true;; requestLine = false)
    {
        const qsizetype end = bytes.indexOf("\r\n", start);
        if (end < 0)
            return bytes.size() > MaxHeadBytes ? -1 : 0;
        const QByteArrayView line = bytes.sliced(start, end - start);
        start = end + 2;
        if (!requestLine && std::all_of(line.begin(), line.end(), IsBlankByte))
            return start;
        if (start > MaxHeadBytes)
            return -1;
    }
}

qsizetype CHttpServiceBase::FormBodySize(QByteArrayView head)
{
    // Most requests name no length at all; only those are worth a second reading of the head.
    if (!QLatin1String(head.data(), head.size())
             .contains(QLatin1String("content-length"), Qt::CaseInsensitive))
        return 0;
    CHttpServiceBase reader;
    reader.AttachConnection(std::make_unique<CMemoryChannel>(head.toByteArray(), nullptr), sockaddr_in{}, 0);
    try
    {
        reader.ReadRequestHead();
        return reader.BodyToRead();
    }
    catch (...)
    {
        // ReadRequest refuses the head before it would read a body.
        return 0;
    }
}

void CHttpServiceBase::Refuse(int status)
{
    if (status == 0 || !m_channel)
        return;
    try
    {
        const QByteArray response = RefusalResponse(status);
        m_channel->Write(response.constData(), response.size(), WriteLineSeconds);
        m_channel->Flush();
    }
    catch (...)
    {
    }
}

QByteArray CHttpServiceBase::RefusalResponse(int status)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + ReasonPhraseText(status) +
           "\r\nServer: " + ServerBanner.toUtf8() + "\r\nDate: " + HttpDateNow().toLatin1() +
           "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
}

void CHttpServiceBase::AttachConnection(std::unique_ptr<CHttpChannel> channel, const sockaddr_in& peerAddress,
                                        int serverPort)
{
    m_channel = std::move(channel);
    m_peerAddress = peerAddress;
    m_serverPort = serverPort;
}

void CHttpServiceBase::AbortConnection()
{
    if (m_channel)
        m_channel->Abort();
}

void CHttpServiceBase::CloseConnection()
{
    if (m_channel)
        m_channel->Close();
}

bool CHttpServiceBase::GetRequestPath(QString& host, QString& path) const
{
    QString hostHeader;
    return GetRequestHeader(HttpHeader::Host, hostHeader) &&
           SplitRequestPath(hostHeader, m_requestTarget, host, path);
}

bool CHttpServiceBase::GetRequestHeader(int id, QString& value) const
{
    return FindValue(m_requestHeaders, id, value);
}

bool CHttpServiceBase::GetResponseHeader(int id, QString& value) const
{
    return FindValue(m_responseHeaders, id, value);
}

void CHttpServiceBase::SetContentLength(qint64 count)
{
    m_responseHeaders[HttpHeader::ContentLength] = QString::number(count);
}

bool CHttpServiceBase::GetQueryParameter(const QString& name, QString& value) const
{
    return FindValue(m_queryParameters, name, value);
}

bool CHttpServiceBase::GetFormParameter(const QString& name, QString& value) const
{
    return FindValue(m_formParameters, name, value);
}

bool CHttpServiceBase::GetParameter(const QString& name, int& value) const
{
    value = 0;
    QString text;
    if (!GetQueryParameter(name, text) && !GetFormParameter(name, text))
        return false;
    value = ParseIntText(text);
    return true;
}

QString CHttpServiceBase::GetHeaderName(int id)
{
    return QLatin1String(HeaderNameText(id));
}

int CHttpServiceBase::GetHeaderId(const QString& name)
{
    static const std::map<QString, int, AsciiCaseInsensitiveLess> idByName = []
    {
        std::map<QString, int, AsciiCaseInsensitiveLess> table;
        for (const HeaderName& header : HeaderNames)
            table.emplace(QString::fromLatin1(header.name), header.id);
        return table;
    }();
    const auto found = idByName.find(QStringView(name));
    return found == idByName.end() ? 0 : found->second;
}

QString CHttpServiceBase::GetReasonPhrase(int code)
{
    return QLatin1String(ReasonPhraseText(code));
}

const QByteArray& CHttpServiceBase::TestPage()
{
    static const QByteArray page(
        "<html><head><title>Test</title></head><body "
        "style=\"font-family:verdana;background-color:#336699;color:white\">Pellidor "
        "1.0</body></html>");
    return page;
}

QString CHttpServiceBase::ReadLine(int overlongStatus)
{
    if (!m_channel)
        throw CHttpServiceError();
    std::string line;
    for (;;)
    {
        const char byte = m_channel->ReceiveByte(m_headDeadline);
        line += byte;
        if (byte == '\n' && line.size() >= 2 && line[line.size() - 2] == '\r')
            break;
        if (std::ssize(line) > MaxLineBytes)
            throw CHttpServiceError(overlongStatus);
    }
    return AnsiCodePage::ToText(line.data(), std::ssize(line) - 2);
}

void CHttpServiceBase::ParseRequestLine(const QString& line)
{
    const QString text = line.trimmed();
    qsizetype blank = text.indexOf(u' ');
    if (blank < 0)
        throw CHttpServiceError(400);
    const QString methodName = text.left(blank).trimmed().toUpper();
    const QString rest = text.mid(blank + 1).trimmed();
    blank = rest.indexOf(u' ');
    if (blank < 0)
        throw CHttpServiceError(400);

    HttpMethod method = HttpMethodNone;
    for (size_t i = 0; i < MethodNames.size(); ++i)
    {
        if (methodName == QLatin1String(MethodNames[i]))
            method = static_cast<HttpMethod>(i + 1);
    }
    if (method == HttpMethodNone)
        throw CHttpServiceError(501);

    m_method = method;
    m_requestTarget = rest.left(blank);
    m_requestVersion = rest.mid(blank + 1).trimmed();

    const qsizetype question = m_requestTarget.indexOf(u'?');
    if (question >= 0 && question + 1 < m_requestTarget.size())
    {
        QString query = m_requestTarget.mid(question + 1);
        const qsizetype hash = query.indexOf(u'#');
        if (hash >= 0)
            query.truncate(hash);
        ParseQuery(query, m_queryParameters);
    }
}

void CHttpServiceBase::ParseHeaderLine(const QString& line)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        throw CHttpServiceError(400);
    const int id = GetHeaderId(line.left(colon).trimmed());
    if (id == 0)
        return;
    // Two of them let a proxy in front and this server read two different requests.
    if ((id == HttpHeader::Host || id == HttpHeader::ContentLength) && m_requestHeaders.count(id) > 0)
        throw CHttpServiceError(400);
    m_requestHeaders[id] = line.mid(colon + 1).trimmed();
}

void CHttpServiceBase::ParseQuery(const QString& text, ParameterMap& parameters)
{
    if (text.isEmpty())
        return;
    for (const QString& pair : text.split(u'&'))
    {
        // Only the first "=" separates; the value keeps any later one.
        const qsizetype equals = pair.indexOf(u'=');
        const QString name = (equals < 0 ? pair : pair.left(equals)).trimmed();
        const QString value = equals < 0 ? QString() : pair.mid(equals + 1);
        parameters[name] = DecodeQueryValue(value);
    }
}

void CHttpServiceBase::WriteBytes(const QByteArray& bytes, int seconds)
{
    if (!m_channel)
        throw CHttpServiceError();
    m_channel->Write(bytes.constData(), bytes.size(), seconds);
}

bool CHttpServiceBase::IsAddressedToThisServer() const
{
    QString host;
    if (m_serverPort <= 0 || !GetRequestHeader(HttpHeader::Host, host))
        return false;
    host = host.toLower();
    QString name = host;
    int port = 80;
    const qsizetype colon = host.lastIndexOf(u':');
    if (colon >= 0)
    {
        name = host.left(colon);
        const QString portText = host.mid(colon + 1);
        if (!IsDecimal(portText, 5))
            return false;
        port = portText.toInt();
    }
    return (name == QLatin1String("localhost") || name == QLatin1String("127.0.0.1")) && port == m_serverPort;
}

void CHttpServiceBase::ReadRequestHead()
{
    m_headDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(RequestHeadSeconds);
    // The request line is mostly its target.
    ParseRequestLine(ReadLine(414));
    for (int lines = 0;;)
    {
        const QString line = ReadLine(431).trimmed();
        if (line.isEmpty())
            break;
        if (++lines > MaxHeaderLines)
            throw CHttpServiceError(431);
        ParseHeaderLine(line);
    }
}

bool CHttpServiceBase::HasFormBody() const
{
    // The media type may carry parameters, as in "...; charset=UTF-8".
    QString type;
    return m_method == HttpPost && GetRequestHeader(HttpHeader::ContentType, type) &&
           type.section(u';', 0, 0)
                   .trimmed()
                   .compare(QLatin1String("application/x-www-form-urlencoded"), Qt::CaseInsensitive) == 0;
}

qint64 CHttpServiceBase::BodyToRead()
{
    QString encoding;
    if (GetRequestHeader(HttpHeader::TransferEncoding, encoding))
    {
        // A chunked body is never read; where it ends is not known.
        m_bodyUnread = true;
        return 0;
    }
    QString length;
    if (!GetRequestHeader(HttpHeader::ContentLength, length))
        return 0;
    const bool form = HasFormBody();
    if (!IsDecimal(length, 18))
    {
        if (form)
            throw CHttpServiceError(400);
        m_bodyUnread = true;
        return 0;
    }
    const qint64 count = length.toLongLong();
    if (count > 0 && !form)
        m_bodyUnread = true;
    if (count == 0 || !form)
        return 0;
    if (count > MaxFormBodyBytes)
        throw CHttpServiceError(413);
    return count;
}

void CHttpServiceBase::ReadRequestBody()
{
    const qint64 count = BodyToRead();
    if (count == 0)
        return;
    QByteArray body(count, Qt::Uninitialized);
    body.resize(m_channel->ReceiveAll(body.data(), count, FormBodySeconds));
    m_bodyUnread = body.size() < count;
    ParseQuery(AnsiCodePage::ToText(body), m_formParameters);
}
