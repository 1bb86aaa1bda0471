#include "base/ReplacingFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int TemporaryNameAttempts = 100;

// A new file beside the target under a name nobody can have planted: O_EXCL refuses anything
// already there, a symbolic link included.
int CreateTemporary(const QByteArray& target, mode_t mode, QByteArray& name)
{
    for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt)
    {
        name = target + ".~" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return -1;
}
} // namespace

CReplacingFile::CReplacingFile(const QString& path, FileReaders readers) : m_target(QFile::encodeName(path))
{
    if (!Prepare(readers))
        Discard();
}

CReplacingFile::~CReplacingFile()
{
    Discard();
}

bool CReplacingFile::Prepare(FileReaders readers)
{
    struct stat old
    {
    };
    const bool exists = ::lstat(m_target.constData(), &old) == 0;
    if (exists && !IsOwnRegularFile(old))
    {
        errno = EPERM;
        return false;
    }
    // A new file is made with its final mode; an old file's mode is set before any byte is in.
    const mode_t createMode = readers == FileReaders::OwnerOnly || exists ? 0600 : 0666;
    m_fd = CreateTemporary(m_target, createMode, m_temporary);
    if (m_fd < 0 || !exists)
        return m_fd >= 0;
    return ::fchmod(m_fd, old.st_mode & (readers == FileReaders::OwnerOnly ? 0600 : 0777)) == 0;
}

bool CReplacingFile::Commit()
{
    if (m_fd < 0)
        return false;
    const bool synced = ::fdatasync(m_fd) == 0;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!synced || !closed || ::rename(m_temporary.constData(), m_target.constData()) != 0)
    {
        Discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

// Keeps errno as the failure that led here left it.
void CReplacingFile::Discard()
{
    const int error = errno;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    errno = error;
}
