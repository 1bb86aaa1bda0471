#pragma once

#include "platform/net/FtpDirectoryEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

class CInternetSession;
class QIODevice;

// One logged-in FTP control connection. Every command goes over this one connection, so a
// change of folder holds for what follows it. Paths are sent absolute, resolved against the
// folder the connection stands in; a path or name holding a line break or a NUL is refused
// before anything is sent. Transfers are binary; listings are read fresh and bounded.
class CFtpConnection
{
public:
    static constexpr qint64 MaxListingSize = qint64(16) * 1024 * 1024;
    static constexpr qint64 TransferChunkSize = 32768;

    // Port 0 is the default FTP port. Null when the server cannot be reached or refuses the
    // login.
    static std::unique_ptr<CFtpConnection> Open(const CInternetSession& session, const QString& server,
                                                int port, const QString& user, const QString& password,
                                                bool passive);
    ~CFtpConnection();

    CFtpConnection(const CFtpConnection&) = delete;
    CFtpConnection& operator=(const CFtpConnection&) = delete;

    // The folder the connection stands in, as the server names it.
    const QString& GetCurrentDirectory() const { return m_current; }
    // False for an empty folder and when the server refuses the change.
    bool SetCurrentDirectory(const QString& folder);
    // Creates the last level of the path.
    bool CreateDirectory(const QString& folder);
    bool Remove(const QString& file);
    bool Rename(const QString& from, const QString& to);
    // Stores everything the source gives under the name, read in chunks of TransferChunkSize.
    // False when the transfer did not end with the server's confirmation.
    bool WriteFile(const QString& name, QIODevice& source);
    // Machine listing (MLSD) where the server has it, LIST otherwise.
    bool ListCurrentDirectory(QList<FtpDirectoryEntry>& entries);

private:
    struct Exchange
    {
        QByteArray url;
        QList<QByteArray> commands; // sent before anything the URL asks for
        QIODevice* upload{nullptr};
        QByteArray listCommand;
    };

    CFtpConnection(void* curl, const QByteArray& origin);

    bool Perform(const Exchange& exchange);
    bool RunCommands(const QList<QByteArray>& commands);
    // The absolute form of a path; empty when it cannot be sent.
    QString Resolve(const QString& path) const;
    QByteArray UrlOf(const QString& absolutePath) const;

    static size_t OnReply(char* data, size_t size, size_t count, void* self);
    static size_t OnListing(char* data, size_t size, size_t count, void* self);
    static size_t OnUploadRead(char* buffer, size_t size, size_t count, void* self);

    void* m_curl{nullptr};
    QByteArray m_origin; // "ftp://host:port"
    QString m_current{QStringLiteral("/")};
    QByteArray m_replies;
    QByteArray m_listing;
    QIODevice* m_upload{nullptr};
    bool m_machineListing{false};
};
