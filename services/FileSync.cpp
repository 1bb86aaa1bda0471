#include "services/FileSync.h"

#include "base/AnsiCodePage.h"
#include "base/ArchiveValues.h"
#include "platform/net/FtpConnection.h"
#include "platform/net/InternetSession.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>

#include <deque>
#include <memory>

namespace
{
constexpr int FtpTimeout = 40000;

std::unique_ptr<CFtpConnection> Connect(const QString& server, int port, const QString& user,
                                        const QString& password)
{
    CInternetSession session(QStringLiteral("QOR/1.0"));
    session.SetConnectTimeout(FtpTimeout);
    session.SetTransferTimeout(FtpTimeout);
    return session.GetFtpConnection(server, user, password, port, true);
}

// A name beside the target that keeps its extension, so that the web server treats a partial
// or an old file as it treats the finished one and never shows a script's text.
QString NameBeside(const QString& name, const QString& kind)
{
    return QStringLiteral(".kv%1-%2-")
               .arg(kind)
               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')) +
           name;
}

// For servers that refuse to rename onto an existing file: the old file steps aside and is
// removed only once the new one is in place; when the new one cannot be moved in, the old one
// goes back, so the site never loses its page.
bool ReplaceInSteps(CFtpConnection& connection, const QString& temporary, const QString& name)
{
    const QString old = NameBeside(name, QStringLiteral("old"));
    if (!connection.Rename(name, old))
        return false;
    if (connection.Rename(temporary, name))
    {
        connection.Remove(old);
        return true;
    }
    connection.Rename(old, name);
    return false;
}

bool StoreReplacing(CFtpConnection& connection, const QString& name, QIODevice& source)
{
    const QString temporary = NameBeside(name, QStringLiteral("part"));
    if (!connection.WriteFile(temporary, source))
    {
        connection.Remove(temporary);
        return false;
    }
    if (connection.Rename(temporary, name) || ReplaceInSteps(connection, temporary, name))
        return true;
    connection.Remove(temporary);
    return false;
}
} // namespace

void CFileSync::Serialize(CPSArchive& archive)
{
    if (archive.IsReading())
    {
        ArchiveReadString(archive, m_text);
        ArchiveReadInt(archive, m_number);
        ArchiveReadTime(archive, m_time);
    }
    else
    {
        ArchiveWriteString(archive, m_text);
        ArchiveWriteInt(archive, m_number);
        ArchiveWriteTime(archive, m_time);
    }
}

bool CFileSync::TestConnection(const QString& server, int port, const QString& user, const QString& password)
{
    return Connect(server, port, user, password) != nullptr;
}

bool CFileSync::UploadBuffer(const QString& server, int port, const QString& user, const QString& password,
                             const QString& folder, const QString& name, const QByteArray& bytes)
{
    const std::unique_ptr<CFtpConnection> connection = Connect(server, port, user, password);
    if (!connection || (!folder.isEmpty() && !connection->SetCurrentDirectory(folder)))
        return false;
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    return StoreReplacing(*connection, name, source);
}

bool CFileSync::UploadText(const QString& server, int port, const QString& user, const QString& password,
                           const QString& folder, const QString& name, const QString& text, int codePage)
{
    QByteArray bytes;
    if (!EncodeText(bytes, text, int(text.size()), codePage))
        return false;
    return UploadBuffer(server, port, user, password, folder, name, bytes);
}

bool CFileSync::EncodeText(QByteArray& bytes, const QString& text, int count, int codePage)
{
    if (count <= 0)
    {
        bytes.clear();
        return true;
    }
    const QString part = text.left(count);
    QByteArray encoded;
    if (codePage == 0 || codePage == 1252)
        encoded = AnsiCodePage::FromText(part);
    else if (codePage == 65001)
        encoded = part.toUtf8();
    if (encoded.isEmpty())
        return false;
    bytes = encoded;
    return true;
}

bool CFileSync::DeleteRemoteFile(const QString& server, int port, const QString& user,
                                 const QString& password, const QString& folder, const QString& name)
{
    const std::unique_ptr<CFtpConnection> connection = Connect(server, port, user, password);
    if (!connection || (!folder.isEmpty() && !connection->SetCurrentDirectory(folder)))
        return false;
    return connection->Remove(name);
}

bool CFileSync::CreateRemoteDirectory(const QString& server, int port, const QString& user,
                                      const QString& password, const QString& path)
{
    if (path.isEmpty())
        return false;
    const std::unique_ptr<CFtpConnection> connection = Connect(server, port, user, password);
    return connection && connection->CreateDirectory(path);
}

bool CFileSync::CreateRemoteFolders(const QString& server, int port, const QString& user,
                                    const QString& password, const QString& folder)
{
    const std::unique_ptr<CFtpConnection> connection = Connect(server, port, user, password);
    return connection && CreateRemotePath(*connection, folder);
}

bool CFileSync::CreateRemotePath(CFtpConnection& connection, const QString& folder)
{
    QString path = folder;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.size() >= 2 && path.endsWith(QLatin1Char('/')))
        path.chop(1);

    // An absolute path: enter its longest existing leading part, then make the rest.
    if (path.size() >= 2 && path.startsWith(QLatin1Char('/')))
    {
        for (QString leading = path;;)
        {
            if (connection.SetCurrentDirectory(leading))
            {
                path = path.mid(leading.size() + 1);
                break;
            }
            const qsizetype cut = leading.lastIndexOf(QLatin1Char('/'));
            if (cut <= 0)
                break;
            leading.truncate(cut);
        }
    }

    const QStringList parts = path.split(QLatin1Char('/'));
    for (qsizetype i = 0; i < parts.size(); ++i)
    {
        const QString& part = parts.at(i);
        if (part.isEmpty())
        {
            if (i == 0 && parts.size() > 1 && !connection.SetCurrentDirectory(QStringLiteral("/")))
                return false;
            continue;
        }
        if (!connection.SetCurrentDirectory(part) &&
            (!connection.CreateDirectory(part) || !connection.SetCurrentDirectory(part)))
            return false;
    }
    return true;
}

bool CFileSync::UploadFile(const QString& server, int port, const QString& user, const QString& password,
                           const QString& localPath, const QString& folder, const QString& name)
{
    for (int attempt = 0; attempt < UploadAttempts; ++attempt)
    {
        QFile local(localPath);
        if (!local.open(QIODevice::ReadOnly))
            return false;
        const std::unique_ptr<CFtpConnection> connection = Connect(server, port, user, password);
        if (connection && CreateRemotePath(*connection, folder) && StoreReplacing(*connection, name, local))
            return true;
    }
    return false;
}

bool CFileSync::ListRemoteTree(const QString& server, int port, const QString& user, const QString& password,
                               const QString& startFolder, QStringList& folders, int maxDepth)
{
    const std::unique_ptr<CFtpConnection> connection = Connect(server, port, user, password);
    if (!connection)
        return false;
    const QString login = connection->GetCurrentDirectory();
    QString start = login;
    start += (login.endsWith(QLatin1Char('/')) && startFolder.startsWith(QLatin1Char('/')))
                 ? startFolder.mid(1)
                 : startFolder;
    struct Pending
    {
        QString folder;
        int depth;
    };
    std::deque<Pending> queue{{start, 1}};
    bool anyEntry = false;
    while (!queue.empty())
    {
        const Pending pending = queue.front();
        queue.pop_front();
        QList<FtpDirectoryEntry> entries;
        if (!connection->SetCurrentDirectory(pending.folder) || !connection->ListCurrentDirectory(entries))
            continue;
        anyEntry = anyEntry || !entries.isEmpty();
        for (const FtpDirectoryEntry& entry : std::as_const(entries))
        {
            if (!entry.directory)
                continue;
            const bool separator = !pending.folder.isEmpty() && !pending.folder.endsWith(QLatin1Char('/'));
            const QString path = pending.folder + (separator ? QStringLiteral("/") : QString()) + entry.name;
            folders.append(path);
            if (pending.depth < maxDepth)
                queue.push_back({path, pending.depth + 1});
        }
    }
    return anyEntry;
}
