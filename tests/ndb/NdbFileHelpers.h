#pragma once

#include "base/ArchiveFile.h"
#include "ndb/NdbArchiveHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <string>
#include <sys/resource.h>

#include <gtest/gtest.h>

// Files for the document tests: a private folder, whole-file reads and writes, the header bytes
// of an archive, and a file size limit that makes the next large write fail.
namespace NdbTest
{
class FileTest : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return m_folder.filePath(name); }
    QStringList FolderFiles() const { return QDir(m_folder.path()).entryList(QDir::Files); }

    QTemporaryDir m_folder;
};

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray Header(const QString& tag, int major, int minor, const QString& creator = {},
                         int creatorMajor = 0, int creatorMinor = 0)
{
    return Int(ArchiveMagic) + QByteArray(1, '\1') + Text(tag) + Int(major) + Int(minor) + Text(creator) +
           Int(creatorMajor) + Int(creatorMinor);
}

// A document file with any header around the root's own bytes.
inline bool WriteWithHeader(const QString& path, const ArchiveFileHeader& header, CPSBase& root)
{
    return WriteArchiveFile(path, header, [&root](CPSArchive& archive) { root.Serialize(archive); });
}

// A header to try on a document loader, and whether the loader takes it.
struct VersionCase
{
    const char* tag;
    int major;
    int minor;
    bool accepted;

    ArchiveFileHeader ToHeader() const { return {QString::fromLatin1(tag), major, minor, {}, 0, 0}; }
    std::string ToString() const
    {
        return std::string(tag) + " " + std::to_string(major) + "." + std::to_string(minor);
    }
};

// Writes every proper beginning of the bytes to the path in turn and runs check on each.
inline void ForEachCut(const QString& path, const QByteArray& bytes,
                       const std::function<void(qsizetype)>& check)
{
    for (qsizetype length = 0; length < bytes.size(); ++length)
    {
        ASSERT_TRUE(WriteAll(path, bytes.left(length)));
        SCOPED_TRACE("cut at " + std::to_string(length));
        check(length);
    }
}

// While it lives, a write that would make a file larger than the limit fails (EFBIG) instead of
// raising SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int){};
};
} // namespace NdbTest
