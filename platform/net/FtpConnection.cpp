#include "platform/net/FtpConnection.h"

#include "platform/net/FtpReplies.h"
#include "platform/net/InternetSession.h"
#include "platform/net/NetHost.h"

#include <QIODevice>

#include <curl/curl.h>

#include <algorithm>

namespace
{
constexpr qint64 MaxReplyBytes = 256 * 1024;

CURL* Handle(void* curl)
{
    return static_cast<CURL*>(curl);
}

bool IsSendable(const QString& text)
{
    return !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')) && !text.contains(QChar(0));
}

long WholeSecondsAtLeastOne(int milliseconds)
{
    return std::max<long>(1, (static_cast<long>(milliseconds) + 999) / 1000);
}

QByteArray Command(const char* verb, const QString& argument)
{
    return QByteArray(verb) + ' ' + argument.toUtf8();
}
} // namespace

CFtpConnection::CFtpConnection(void* curl, const QByteArray& origin) : m_curl(curl), m_origin(origin) {}

CFtpConnection::~CFtpConnection()
{
    curl_easy_cleanup(Handle(m_curl));
}

std::unique_ptr<CFtpConnection> CFtpConnection::Open(const CInternetSession& session, const QString& server,
                                                     int port, const QString& user, const QString& password,
                                                     bool passive)
{
    const QByteArray host = HostForUrl(server);
    if (host.isEmpty() || port < 0 || port > 65535 || !IsSendable(user) || !IsSendable(password))
        return nullptr;
    CURL* curl = curl_easy_init();
    if (!curl)
        return nullptr;
    const QByteArray origin = "ftp://" + host + ":" + QByteArray::number(port == 0 ? 21 : port);
    std::unique_ptr<CFtpConnection> connection(new CFtpConnection(curl, origin));

    const QByteArray userBytes = user.toUtf8();
    const QByteArray passwordBytes = password.toUtf8();
    bool ok = curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp") == CURLE_OK;
    if (!user.isEmpty())
    {
        ok = ok && curl_easy_setopt(curl, CURLOPT_USERNAME, userBytes.constData()) == CURLE_OK;
        ok = ok && curl_easy_setopt(curl, CURLOPT_PASSWORD, passwordBytes.constData()) == CURLE_OK;
    }
    // Paths go to the server whole; curl must not walk folders on its own between commands.
    ok = ok && curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD)) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_FTPPORT, passive ? nullptr : "-") == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok &&
         curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(session.GetConnectTimeout())) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                                WholeSecondsAtLeastOne(session.GetTransferTimeout())) == CURLE_OK;
    ok =
        ok && curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, long(session.GetConnectTimeout())) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME,
                                WholeSecondsAtLeastOne(session.GetTransferTimeout())) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &CFtpConnection::OnReply) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_HEADERDATA, connection.get()) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CFtpConnection::OnListing) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_WRITEDATA, connection.get()) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_READFUNCTION, &CFtpConnection::OnUploadRead) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_READDATA, connection.get()) == CURLE_OK;
    ok = ok && curl_easy_setopt(curl, CURLOPT_UPLOAD_BUFFERSIZE, long(TransferChunkSize)) == CURLE_OK;
    // Logging in reads the folder the login starts in; the features tell how to list folders.
    if (!ok || !connection->Perform({origin + "/", {"*FEAT"}, nullptr, {}}))
        return nullptr;
    connection->m_machineListing = FtpReplies::AnnouncesFeature(connection->m_replies, "MLST");
    const char* entry = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry && *entry)
        connection->m_current = QString::fromUtf8(entry);
    return connection;
}

bool CFtpConnection::SetCurrentDirectory(const QString& folder)
{
    const QString target = Resolve(folder);
    if (folder.isEmpty() || target.isEmpty() || !RunCommands({Command("CWD", target), "PWD"}))
        return false;
    QString named;
    m_current = FtpReplies::ParseFolderReply(m_replies, named) ? named : target;
    return true;
}

bool CFtpConnection::CreateDirectory(const QString& folder)
{
    const QString target = Resolve(folder);
    return !folder.isEmpty() && !target.isEmpty() && RunCommands({Command("MKD", target)});
}

bool CFtpConnection::Remove(const QString& file)
{
    const QString target = Resolve(file);
    return !file.isEmpty() && !target.isEmpty() && RunCommands({Command("DELE", target)});
}

bool CFtpConnection::Rename(const QString& from, const QString& to)
{
    const QString source = Resolve(from);
    const QString target = Resolve(to);
    if (from.isEmpty() || to.isEmpty() || source.isEmpty() || target.isEmpty())
        return false;
    return RunCommands({Command("RNFR", source), Command("RNTO", target)});
}

bool CFtpConnection::WriteFile(const QString& name, QIODevice& source)
{
    const QString target = Resolve(name);
    if (name.isEmpty() || target.isEmpty() || target == QLatin1String("/"))
        return false;
    return Perform({UrlOf(target), {}, &source, {}});
}

bool CFtpConnection::ListCurrentDirectory(QList<FtpDirectoryEntry>& entries)
{
    QByteArray url = UrlOf(m_current);
    if (m_current != QLatin1String("/"))
        url += '/';
    if (m_machineListing && Perform({url, {}, nullptr, "MLSD"}))
    {
        entries = FtpReplies::ParseMachineListing(m_listing);
        return true;
    }
    if (!Perform({url, {}, nullptr, "LIST"}))
        return false;
    entries = FtpReplies::ParseListListing(m_listing);
    return true;
}

// A refused command is a reply to read, not a failure of the transfer: curl would drop the
// control connection on it and log in anew for the next command.
bool CFtpConnection::RunCommands(const QList<QByteArray>& commands)
{
    QList<QByteArray> tolerated;
    for (const QByteArray& command : commands)
        tolerated.append('*' + command);
    if (!Perform({m_origin + "/%2F", tolerated, nullptr, {}}))
        return false;
    const QList<int> codes = FtpReplies::FinalReplyCodes(m_replies);
    if (codes.size() < commands.size())
        return false;
    return std::all_of(codes.end() - commands.size(), codes.end(),
                       [](int code) { return code >= 200 && code < 400; });
}

bool CFtpConnection::Perform(const Exchange& exchange)
{
    CURL* curl = Handle(m_curl);
    m_replies.clear();
    m_listing.clear();
    m_upload = exchange.upload;

    curl_slist* commands = nullptr;
    for (const QByteArray& command : exchange.commands)
        commands = curl_slist_append(commands, command.constData());
    const bool listing = !exchange.listCommand.isEmpty();
    curl_easy_setopt(curl, CURLOPT_URL, exchange.url.constData());
    curl_easy_setopt(curl, CURLOPT_QUOTE, commands);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, exchange.upload ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_NOBODY, (exchange.upload || listing) ? 0L : 1L);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, listing ? exchange.listCommand.constData() : nullptr);
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(commands);
    m_upload = nullptr;
    return result == CURLE_OK;
}

QString CFtpConnection::Resolve(const QString& path) const
{
    if (!IsSendable(path))
        return {};
    QString absolute = path.startsWith(QLatin1Char('/')) ? path : m_current + QLatin1Char('/') + path;
    while (absolute.contains(QLatin1String("//")))
        absolute.replace(QLatin1String("//"), QLatin1String("/"));
    if (absolute.size() > 1 && absolute.endsWith(QLatin1Char('/')))
        absolute.chop(1);
    return absolute;
}

// The leading "/" goes into the URL as %2F: curl then hands the absolute path to the server as it
// stands. Everything but unreserved characters and the separators is percent-encoded, so that no
// name can carry URL syntax (";type=", "?", "#") into the request.
QByteArray CFtpConnection::UrlOf(const QString& absolutePath) const
{
    QByteArray url = m_origin + "/%2F";
    const QByteArray bytes = absolutePath.toUtf8();
    for (qsizetype i = 1; i < bytes.size(); ++i)
    {
        const char c = bytes.at(i);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (plain)
            url += c;
        else
            url +=
                '%' + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0').toUpper();
    }
    return url;
}

size_t CFtpConnection::OnReply(char* data, size_t size, size_t count, void* self)
{
    auto* connection = static_cast<CFtpConnection*>(self);
    const size_t length = size * count;
    if (connection->m_replies.size() + static_cast<qint64>(length) > MaxReplyBytes)
        return 0;
    connection->m_replies.append(data, static_cast<qsizetype>(length));
    return length;
}

size_t CFtpConnection::OnListing(char* data, size_t size, size_t count, void* self)
{
    auto* connection = static_cast<CFtpConnection*>(self);
    const size_t length = size * count;
    if (connection->m_listing.size() + static_cast<qint64>(length) > MaxListingSize)
        return 0;
    connection->m_listing.append(data, static_cast<qsizetype>(length));
    return length;
}

size_t CFtpConnection::OnUploadRead(char* buffer, size_t size, size_t count, void* self)
{
    auto* connection = static_cast<CFtpConnection*>(self);
    if (!connection->m_upload)
        return 0;
    const qint64 wanted = std::min<qint64>(static_cast<qint64>(size * count), TransferChunkSize);
    const qint64 read = connection->m_upload->read(buffer, wanted);
    return read < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(read);
}
