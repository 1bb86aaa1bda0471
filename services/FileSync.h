#pragma once

#include "base/PSFactory.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

class CFtpConnection;

// The FTP operations with which the program publishes to the user's web site. Each operation is
// self-contained: it opens its own connection (passive), does one job, closes it and answers
// true or false. An upload goes to a temporary name beside the target and is renamed into place
// only when all of it arrived, so an upload that breaks off never leaves a cut-off file under
// the target's name; the file it replaces stays until the new one is in place.
//
// The class is persistable with three values that no operation uses.
class CFileSync : public CPSBase
{
    KV_PERSISTENT_CLASS()

public:
    static constexpr int UploadAttempts = 5;

    CFileSync() = default;
    void Serialize(CPSArchive& archive) override;

    static bool TestConnection(const QString& server, int port, const QString& user, const QString& password);

    // Changes into the folder (when not empty) and stores the bytes under the name; false, with
    // nothing sent, when the folder does not exist.
    static bool UploadBuffer(const QString& server, int port, const QString& user, const QString& password,
                             const QString& folder, const QString& name, const QByteArray& bytes);
    // Encodes the text in the code page (0 the ANSI code page, 65001 UTF-8, no byte-order mark);
    // false, with nothing sent, when it does not convert.
    static bool UploadText(const QString& server, int port, const QString& user, const QString& password,
                           const QString& folder, const QString& name, const QString& text, int codePage);
    // The first count characters of the text in the code page. A count of 0 or less gives no
    // bytes and true; an unknown code page false with the bytes unchanged.
    static bool EncodeText(QByteArray& bytes, const QString& text, int count, int codePage);

    static bool DeleteRemoteFile(const QString& server, int port, const QString& user,
                                 const QString& password, const QString& folder, const QString& name);
    // Creates the last level of the path (relative to the login folder, or absolute).
    static bool CreateRemoteDirectory(const QString& server, int port, const QString& user,
                                      const QString& password, const QString& path);
    // Creates every missing level of the folder path.
    static bool CreateRemoteFolders(const QString& server, int port, const QString& user,
                                    const QString& password, const QString& folder);
    // Leaves the connection standing in the folder, creating the levels that are missing. "\"
    // separates like "/"; an empty folder, or an empty level, stays where the connection stands.
    static bool CreateRemotePath(CFtpConnection& connection, const QString& folder);

    // Makes the folder whole, then stores the local file under the name; up to UploadAttempts
    // tries. False at once when the local file cannot be opened.
    static bool UploadFile(const QString& server, int port, const QString& user, const QString& password,
                           const QString& localPath, const QString& folder, const QString& name);

    // Appends the folders below the login folder + start folder, breadth first, down to the
    // depth; true when any listed folder showed an entry.
    static bool ListRemoteTree(const QString& server, int port, const QString& user, const QString& password,
                               const QString& startFolder, QStringList& folders, int maxDepth);

private:
    QString m_text;
    qint32 m_number{0};
    QDateTime m_time{QDateTime::fromSecsSinceEpoch(0)};
};
