#include "base/FileHelpers.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int TemporaryNameAttempts = 100;

bool IsOwnRegularFile(const struct stat& info)
{
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

} // namespace

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0)
    {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

namespace
{
// A new file beside the target under a name nobody can have planted: O_EXCL refuses anything
// already there, a symbolic link included.
int CreateTemporary(const QByteArray& target, mode_t mode, QByteArray& name)
{
    for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt)
    {
        name = target + ".~" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteTemporary(int fd, const QByteArray& bytes, const struct stat* old, FileReaders readers)
{
    if (old)
    {
        const mode_t mode = old->st_mode & (readers == FileReaders::OwnerOnly ? 0600 : 0777);
        if (::fchmod(fd, mode) != 0)
            return false;
    }
    return WriteAll(fd, bytes) && ::fsync(fd) == 0;
}
} // namespace

bool WriteFileReplacing(const QString& path, const QByteArray& bytes, FileReaders readers)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat old
    {
    };
    const bool exists = ::lstat(name.constData(), &old) == 0;
    if (exists && !IsOwnRegularFile(old))
    {
        errno = EPERM;
        return false;
    }
    // A new file is made with its final mode; an old file's mode is set before any byte is in.
    const mode_t createMode = readers == FileReaders::OwnerOnly || exists ? 0600 : 0666;
    QByteArray temporary;
    const int fd = CreateTemporary(name, createMode, temporary);
    if (fd < 0)
        return false;
    const bool written = WriteTemporary(fd, bytes, exists ? &old : nullptr, readers);
    if (::close(fd) != 0 || !written || ::rename(temporary.constData(), name.constData()) != 0)
    {
        const int error = errno;
        ::unlink(temporary.constData());
        errno = error;
        return false;
    }
    return true;
}

int OpenOwnFile(const QString& path, int flags, mode_t mode)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST)
        return fd;
    // Already there: a FIFO must not block the open, and only our own regular file is written.
    const int existing = ::open(name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (existing < 0)
        return -1;
    struct stat info
    {
    };
    if (::fstat(existing, &info) != 0 || !IsOwnRegularFile(info))
    {
        ::close(existing);
        errno = EPERM;
        return -1;
    }
    return existing;
}

bool IsForeignFile(const QString& path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && !IsOwnRegularFile(info);
}
