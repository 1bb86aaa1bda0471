#include "app/DocumentLock.h"

#include "base/FileHelpers.h"

#include <QFile>
#include <QSysInfo>
#include <QtEndian>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace
{
// A string in the lock file is far shorter; a bigger count is not ours.
constexpr qint32 MaxStringBytes = 64 * 1024;
constexpr int CreateAttempts = 3;

QByteArray EncodeString(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray bytes(4, '\0');
    qToLittleEndian<qint32>(qint32(utf8.size()), bytes.data());
    return bytes + utf8;
}

bool ReadExactly(int fd, char* buffer, qint64 size)
{
    while (size > 0)
    {
        const ssize_t n = ::read(fd, buffer, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        buffer += n;
        size -= n;
    }
    return true;
}

bool ReadString(int fd, QString& text)
{
    char count[4];
    if (!ReadExactly(fd, count, 4))
        return false;
    const qint32 size = qFromLittleEndian<qint32>(count);
    if (size < 0 || size > MaxStringBytes)
        return false;
    QByteArray utf8(size, '\0');
    if (!ReadExactly(fd, utf8.data(), size))
        return false;
    text = QString::fromUtf8(utf8);
    return true;
}

bool SameFile(int fd, const QByteArray& path)
{
    struct stat held
    {
    };
    struct stat named
    {
    };
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}
} // namespace

CDocumentLock::~CDocumentLock()
{
    Delete();
}

bool CDocumentLock::Create(const QString& documentPath)
{
    Delete();
    const QString lockPath = LockPathOf(documentPath);
    const QByteArray name = QFile::encodeName(lockPath);
    for (int attempt = 0; attempt < CreateAttempts; ++attempt)
    {
        // A "~" file of another account, or a link planted in a shared folder, is never written.
        const int fd = OpenOwnFile(lockPath, O_RDWR, 0644);
        if (fd < 0)
            return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        {
            ::close(fd);
            return false;
        }
        // Another program may have deleted a left-over file between our open and our lock.
        if (!SameFile(fd, name))
        {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_lockPath = lockPath;
        if (::ftruncate(fd, 0) == 0)
            WriteAll(fd, EncodeString(Magic) + EncodeString(OwnerName()) + EncodeString(ComputerName()));
        return true;
    }
    return false;
}

void CDocumentLock::Delete()
{
    if (m_fd < 0)
        return;
    const QByteArray name = QFile::encodeName(m_lockPath);
    // Only our own file goes: a "~" file put there since is someone else's.
    if (SameFile(m_fd, name))
        ::unlink(name.constData());
    ::close(m_fd);
    m_fd = -1;
    m_lockPath.clear();
}

bool CDocumentLock::IsInUse(const QString& documentPath, QString& owner, QString& computer)
{
    owner.clear();
    computer.clear();
    // A link is not followed, and a FIFO does not hold the open up.
    const int fd = ::open(QFile::encodeName(LockPathOf(documentPath)).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
    {
        // Nobody holds it: a file left by a program that ended without closing the document.
        ::close(fd);
        return false;
    }
    QString magic;
    if (ReadString(fd, magic) && magic == Magic && ReadString(fd, owner))
        ReadString(fd, computer);
    ::close(fd);
    return true;
}

QString CDocumentLock::OwnerName()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    struct passwd entry
    {
    };
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    // The full name is the first field of the comment.
    const QString fullName =
        QString::fromLocal8Bit(found->pw_gecos ? found->pw_gecos : "").section(u',', 0, 0);
    return fullName.trimmed().isEmpty() ? QString::fromLocal8Bit(found->pw_name) : fullName.trimmed();
}

QString CDocumentLock::ComputerName()
{
    return QSysInfo::machineHostName();
}
