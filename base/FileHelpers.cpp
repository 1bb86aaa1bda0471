#include "base/FileHelpers.h"

#include "base/ReplacingFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool IsOwnRegularFile(const struct stat& info)
{
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

bool WriteAll(int fd, const char* bytes, qint64 count)
{
    while (count > 0)
    {
        const ssize_t n = ::write(fd, bytes, size_t(count));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        count -= n;
    }
    return true;
}

bool WriteFileReplacing(const QString& path, const QByteArray& bytes, FileReaders readers)
{
    CReplacingFile file(path, readers);
    return file.Descriptor() >= 0 && WriteAll(file.Descriptor(), bytes) && file.Commit();
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
