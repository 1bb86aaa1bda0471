#pragma once

#include <QString>
#include <QStringList>

// Unpacks a zip file (an update package from the network) into a folder. Entry names that would
// land outside the target folder are refused.
class CZipExtractor
{
public:
    // Bounds against hostile archives: entries listed, bytes of one entry, bytes of one extraction.
    static constexpr qsizetype MaxEntryCount = 100000;
    static constexpr qint64 MaxEntrySize = qint64(1) << 30;
    static constexpr qint64 MaxTotalSize = qint64(4) << 30;

    CZipExtractor() = default;
    ~CZipExtractor();

    CZipExtractor(const CZipExtractor&) = delete;
    CZipExtractor& operator=(const CZipExtractor&) = delete;

    bool Open(const QString& path);
    int GetEntryCount() const;
    QString GetEntryName(int index) const;
    // Creates the folder and its missing parents; false for a folder that exists already.
    static bool CreateFolderPath(const QString& path);
    // The number of entries that could not be extracted (refused, unreadable, not written);
    // 0 when everything was written.
    int ExtractAll(const QString& targetFolder);
    void Close();

private:
    bool ExtractCurrentEntry(const QString& target, const QString& name, qint64& totalWritten);

    QStringList m_entryNames;
    void* m_archive{nullptr}; // none for an open archive without entries
    bool m_isOpen{false};
};
