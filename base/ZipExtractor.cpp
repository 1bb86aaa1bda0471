#include "base/ZipExtractor.h"

#include "base/AnsiCodePage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <minizip/unzip.h>

#include <algorithm>
#include <sys/stat.h>

namespace
{
constexpr int NameBufferSize = 1024;
constexpr int ChunkSize = 4096;

unzFile Archive(void* archive)
{
    return static_cast<unzFile>(archive);
}

// A name must stay below the target folder: no absolute path, no drive, no parent step.
bool StaysInsideTarget(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return false;
    if (name.size() >= 2 && name[1] == QLatin1Char(':'))
        return false;
    const QStringList segments = name.split(QLatin1Char('/'));
    return !segments.contains(QStringLiteral(".."));
}

// Closes the current entry on every way out; a CRC mismatch shows only at the close.
class CurrentEntry
{
public:
    explicit CurrentEntry(unzFile archive) : m_archive(archive), m_open(unzOpenCurrentFile(archive) == UNZ_OK)
    {
    }
    ~CurrentEntry() { CloseEntry(); }
    bool IsOpen() const { return m_open; }
    bool CloseEntry()
    {
        if (!m_open)
            return false;
        m_open = false;
        return unzCloseCurrentFile(m_archive) == UNZ_OK;
    }

private:
    unzFile m_archive;
    bool m_open;
};
// minizip looks for the end record only behind the first byte of the file, so it cannot open an
// archive without entries, which is that record alone (and its comment).
bool IsEmptyArchive(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 22 || file.size() > 22 + 0xFFFF)
        return false;
    const QByteArray record = file.read(22);
    const auto commentLength = static_cast<unsigned char>(record[20]) | static_cast<unsigned char>(record[21])
                                                                            << 8;
    return record.startsWith("PK\x05\x06") && record.mid(4, 16) == QByteArray(16, '\0') &&
           file.size() == 22 + commentLength;
}
} // namespace

CZipExtractor::~CZipExtractor()
{
    Close();
}

bool CZipExtractor::Open(const QString& path)
{
    Close();
    unzFile archive = unzOpen64(QFile::encodeName(path).constData());
    if (!archive)
    {
        m_isOpen = IsEmptyArchive(path);
        if (m_isOpen)
            m_entryNames.clear();
        return m_isOpen;
    }
    unz_global_info64 global{};
    bool listed = unzGetGlobalInfo64(archive, &global) == UNZ_OK && global.number_entry <= MaxEntryCount;
    QStringList names;
    if (listed && global.number_entry > 0)
    {
        int result = unzGoToFirstFile(archive);
        while (result == UNZ_OK && names.size() < MaxEntryCount)
        {
            unz_file_info64 info{};
            char name[NameBufferSize + 1] = {};
            result = unzGetCurrentFileInfo64(archive, &info, name, NameBufferSize, nullptr, 0, nullptr, 0);
            if (result != UNZ_OK)
                break;
            const qsizetype length = std::min<qsizetype>(info.size_filename, NameBufferSize);
            names.append(AnsiCodePage::ToText(name, qstrnlen(name, length)));
            result = unzGoToNextFile(archive);
        }
        listed = result == UNZ_END_OF_LIST_OF_FILE;
    }
    if (!listed)
    {
        unzClose(archive);
        return false;
    }
    m_archive = archive;
    m_isOpen = true;
    m_entryNames = names;
    return true;
}

int CZipExtractor::GetEntryCount() const
{
    return m_isOpen ? static_cast<int>(m_entryNames.size()) : 0;
}

QString CZipExtractor::GetEntryName(int index) const
{
    if (!m_isOpen || index < 0 || index >= m_entryNames.size())
        return {};
    return m_entryNames[index];
}

bool CZipExtractor::CreateFolderPath(const QString& path)
{
    if (path.isEmpty())
        return false;
    QString folder = path;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QByteArray encoded = QFile::encodeName(folder);
    if (mkdir(encoded.constData(), 0777) == 0)
        return true;
    const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return false;
    return CreateFolderPath(folder.left(slash)) && mkdir(encoded.constData(), 0777) == 0;
}

int CZipExtractor::ExtractAll(const QString& targetFolder)
{
    if (!m_isOpen)
        return 0;
    QString target = targetFolder;
    target.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!target.isEmpty() && !target.endsWith(QLatin1Char('/')))
        target += QLatin1Char('/');
    CreateFolderPath(target);
    if (!m_archive)
        return 0;

    unzFile archive = Archive(m_archive);
    int failures = 0;
    qint64 totalWritten = 0;
    qsizetype index = 0;
    for (int moved = unzGoToFirstFile(archive); moved == UNZ_OK && index < m_entryNames.size();
         moved = unzGoToNextFile(archive), ++index)
    {
        if (!ExtractCurrentEntry(target, m_entryNames[index], totalWritten))
            ++failures;
    }
    // Entries that could not even be reached were not written either.
    return failures + static_cast<int>(m_entryNames.size() - index);
}

bool CZipExtractor::ExtractCurrentEntry(const QString& target, const QString& entryName, qint64& totalWritten)
{
    unzFile archive = Archive(m_archive);
    QString name = entryName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!StaysInsideTarget(name))
        return false;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    CurrentEntry entry(archive);
    if (!entry.IsOpen())
        return false;

    const QString path = target + name;
    if (name.endsWith(QLatin1Char('/')))
    {
        CreateFolderPath(path);
        return QFileInfo(path).isDir();
    }
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash > 0)
        CreateFolderPath(path.left(slash));
    // Names such as ".DS_Store" or "./x" are packaging leftovers, not part of the package.
    if (name.startsWith(QLatin1Char('.')))
        return true;

    const auto size = static_cast<qint64>(info.uncompressed_size);
    if (size > MaxEntrySize || totalWritten + size > MaxTotalSize)
        return false;
    // Never write through a link: it could lead anywhere.
    if (QFileInfo(path).isSymLink())
        return false;
    // Written beside the old file and renamed over it: a broken entry leaves the old file. The
    // writer refuses a file its user may not write, so a read-only file of an earlier
    // installation is made writable first.
    QFile existing(path);
    if (existing.exists())
        existing.setPermissions(existing.permissions() | QFileDevice::WriteOwner);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    char chunk[ChunkSize];
    for (;;)
    {
        const int count = unzReadCurrentFile(archive, chunk, ChunkSize);
        if (count < 0)
            return false;
        if (count == 0)
            break;
        if (file.write(chunk, count) != count)
            return false;
    }
    if (!entry.CloseEntry())
        return false;
    totalWritten += size;
    return file.commit();
}

void CZipExtractor::Close()
{
    if (m_archive)
        unzClose(Archive(m_archive));
    m_archive = nullptr;
    m_isOpen = false;
}
