#include "base/ZipExtractor.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <minizip/zip.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
struct Entry
{
    QByteArray name;
    QByteArray data;
    unsigned long externalAttributes = 0;
    int method = Z_DEFLATED;
};

// Read-only both as the DOS attribute and as the Unix mode.
constexpr unsigned long ReadOnly = 0x01 | (0100444ul << 16);

bool MakeZip(const QString& path, const std::vector<Entry>& entries)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const Entry& entry : entries)
    {
        zip_fileinfo info{};
        info.external_fa = entry.externalAttributes;
        ok = ok && zipOpenNewFileInZip(zip, entry.name.constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                                       entry.method, Z_DEFAULT_COMPRESSION) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, entry.data.constData(), unsigned(entry.data.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every file and folder below root, relative to it, sorted and joined by blanks.
std::string Tree(const QString& root)
{
    QStringList paths;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << QDir(root).relativeFilePath(it.next());
    paths.sort();
    return paths.join(' ').toStdString();
}

// Runs the work on a thread that may not write where the permission bits forbid it, as the
// program's user may not; the tests may run as root, who otherwise may. Capabilities belong to
// the thread, so the rest of the test keeps its own.
template <class Work> void AsOrdinaryUser(Work&& work)
{
    std::thread thread(
        [&work]
        {
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            __user_cap_data_struct data[2] = {};
            ASSERT_EQ(syscall(SYS_capget, &header, data), 0);
            data[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
            data[0].permitted &= ~(1u << CAP_DAC_OVERRIDE);
            ASSERT_EQ(syscall(SYS_capset, &header, data), 0);
            work();
        });
    thread.join();
}

class ZipExtractorTest : public testing::Test
{
protected:
    QString Zip(const std::vector<Entry>& entries)
    {
        const QString path = m_dir.filePath("package.zip");
        QFile::remove(path);
        EXPECT_TRUE(MakeZip(path, entries));
        return path;
    }

    QTemporaryDir m_dir;
    const QString m_target = m_dir.filePath("target");
};
} // namespace

TEST_F(ZipExtractorTest, ExtractsFilesAndFoldersWithEitherSeparator)
{
    CZipExtractor zip;
    ASSERT_TRUE(zip.Open(Zip({{"docs/", ""},
                              {"docs/readme.txt", "read me"},
                              {"bin\\tool.sh", "#!/bin/sh\n"},
                              {"deep/a/b/c.txt", "unlisted folders"},
                              {"caf\xE9.txt", "code page name"},
                              {"top.txt", QByteArray(100000, 'z')}})));
    ASSERT_EQ(zip.GetEntryCount(), 6);
    EXPECT_EQ(zip.GetEntryName(1), "docs/readme.txt");
    EXPECT_EQ(zip.GetEntryName(4), QString::fromUtf16(u"caf\u00E9.txt"));
    EXPECT_EQ(zip.GetEntryName(6), QString());

    EXPECT_EQ(zip.ExtractAll(m_target), 0);
    EXPECT_EQ(
        Tree(m_target),
        "bin bin/tool.sh caf\u00E9.txt deep deep/a deep/a/b deep/a/b/c.txt docs docs/readme.txt top.txt");
    EXPECT_EQ(ReadFile(m_target + "/docs/readme.txt"), "read me");
    EXPECT_EQ(ReadFile(m_target + "/bin/tool.sh"), "#!/bin/sh\n");
    EXPECT_EQ(ReadFile(m_target + "/top.txt"), QByteArray(100000, 'z'));

    // A target written with backslashes and a trailing separator names the same folder.
    QString windowsTarget = m_target + "\\";
    EXPECT_EQ(zip.ExtractAll(windowsTarget.replace('/', '\\')), 0);
    EXPECT_EQ(
        Tree(m_target),
        "bin bin/tool.sh caf\u00E9.txt deep deep/a deep/a/b deep/a/b/c.txt docs docs/readme.txt top.txt");
}

TEST_F(ZipExtractorTest, NamesStartingWithADotAreNotWritten)
{
    CZipExtractor zip;
    ASSERT_TRUE(zip.Open(Zip({{".hidden", "x"}, {".config/settings", "x"}, {"data/.keep", "kept"}})));
    EXPECT_EQ(zip.ExtractAll(m_target), 0);
    // The folder part of an entry is made before its name is looked at.
    EXPECT_EQ(Tree(m_target), ".config data data/.keep");
}

TEST_F(ZipExtractorTest, ReadOnlyFilesAreReplaced)
{
    CZipExtractor zip;
    ASSERT_TRUE(zip.Open(Zip({{"app/locked.txt", "new", ReadOnly}, {"app/plain.txt", "new"}})));
    ASSERT_TRUE(QDir().mkpath(m_target + "/app"));
    QFile old(m_target + "/app/plain.txt");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old installation");
    old.close();
    ASSERT_TRUE(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));

    AsOrdinaryUser(
        [&]
        {
            EXPECT_EQ(zip.ExtractAll(m_target), 0);
            // Twice: whatever the first run left must not stop the second.
            EXPECT_EQ(zip.ExtractAll(m_target), 0);
        });
    EXPECT_EQ(ReadFile(m_target + "/app/plain.txt"), "new");
    EXPECT_EQ(ReadFile(m_target + "/app/locked.txt"), "new");
    EXPECT_TRUE(QFileInfo(m_target + "/app/plain.txt").permissions().testFlag(QFileDevice::WriteOwner));
}

TEST_F(ZipExtractorTest, RefusesEntriesOutsideTheTarget)
{
    const QByteArray outside = QFile::encodeName(m_dir.filePath("escaped.txt"));
    QByteArray outsideWithBackslashes = outside;
    outsideWithBackslashes.replace('/', '\\');
    const std::vector<Entry> hostile = {
        {"../escaped.txt", "x"},  {"sub/../../escaped.txt", "x"},
        {"..\\escaped.txt", "x"}, {"sub\\..\\..\\escaped.txt", "x"},
        {"../escape/", ""},       {"../newfolder/escaped.txt", "x"},
        {outside, "x"},           {outsideWithBackslashes, "x"},
        {"C:\\escaped.txt", "x"}, {"c:escaped.txt", "x"},
    };
    std::vector<Entry> entries = hostile;
    entries.push_back({"good.txt", "good"});

    CZipExtractor zip;
    ASSERT_TRUE(zip.Open(Zip(entries)));
    EXPECT_EQ(zip.ExtractAll(m_target), int(hostile.size()));
    EXPECT_EQ(Tree(m_dir.path()), "package.zip target target/good.txt");
}

TEST_F(ZipExtractorTest, EntriesThatCannotBeWrittenAreReported)
{
    // A folder stands where a file goes, and a file where a folder goes.
    ASSERT_TRUE(QDir().mkpath(m_target + "/taken.txt"));
    QFile blocker(m_target + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CZipExtractor zip;
    ASSERT_TRUE(
        zip.Open(Zip({{"taken.txt", "x"}, {"blocker/", ""}, {"blocker/inner.txt", "x"}, {"ok.txt", "ok"}})));
    EXPECT_EQ(zip.ExtractAll(m_target), 3);
    EXPECT_EQ(ReadFile(m_target + "/ok.txt"), "ok");
}

TEST_F(ZipExtractorTest, CorruptEntryLeavesTheOldFileInPlace)
{
    const QByteArray data = "fresh content of the update";
    QByteArray archive;
    {
        const QString path = Zip({{"file.txt", data, 0, 0}});
        archive = ReadFile(path);
    }
    // Stored without compression: the data stands in the archive as it is; damage it so that only
    // the checksum shows it.
    const qsizetype at = archive.indexOf(data);
    ASSERT_GE(at, 0);
    archive[at] = 'F';
    QFile damaged(m_dir.filePath("damaged.zip"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(archive);
    damaged.close();

    ASSERT_TRUE(QDir().mkpath(m_target));
    QFile old(m_target + "/file.txt");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();

    CZipExtractor zip;
    ASSERT_TRUE(zip.Open(damaged.fileName()));
    EXPECT_EQ(zip.ExtractAll(m_target), 1);
    EXPECT_EQ(ReadFile(m_target + "/file.txt"), "previous");
    EXPECT_EQ(Tree(m_target), "file.txt");
}

TEST_F(ZipExtractorTest, OpensOnlyZipFilesAndAnEmptyOneExtractsNothing)
{
    CZipExtractor zip;
    EXPECT_FALSE(zip.Open(m_dir.filePath("missing.zip")));
    QFile text(m_dir.filePath("text.zip"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("PK\x03\x04 but not a zip file at all");
    text.close();
    EXPECT_FALSE(zip.Open(text.fileName()));
    EXPECT_EQ(zip.GetEntryCount(), 0);
    EXPECT_EQ(zip.ExtractAll(m_target), 0);
    EXPECT_FALSE(QFileInfo::exists(m_target));

    ASSERT_TRUE(zip.Open(Zip({})));
    EXPECT_EQ(zip.GetEntryCount(), 0);
    EXPECT_EQ(zip.ExtractAll(m_target), 0);
    EXPECT_EQ(Tree(m_dir.path()), "package.zip target text.zip");

    ASSERT_TRUE(zip.Open(Zip({{"a.txt", "a"}})));
    EXPECT_EQ(zip.GetEntryCount(), 1);
    zip.Close();
    EXPECT_EQ(zip.GetEntryCount(), 0);
    EXPECT_EQ(zip.GetEntryName(0), QString());
}

TEST_F(ZipExtractorTest, CreateFolderPathMakesMissingParents)
{
    const QString base = m_dir.path();
    EXPECT_TRUE(CZipExtractor::CreateFolderPath(base + "/a/b/c/"));
    EXPECT_TRUE(QFileInfo(base + "/a/b/c").isDir());
    EXPECT_TRUE(CZipExtractor::CreateFolderPath(QString(base + "/a/x\\y").replace('/', '\\')));
    EXPECT_TRUE(QFileInfo(base + "/a/x/y").isDir());
    // An existing folder counts as not created.
    EXPECT_FALSE(CZipExtractor::CreateFolderPath(base + "/a/b"));
    EXPECT_FALSE(CZipExtractor::CreateFolderPath(QString()));
}
