#include "recipients/UserImportProfile.h"

#include "base/ArchiveFile.h"
#include "base/ArchiveValues.h"
#include "ndb/NdbUser.h"

namespace
{
const QString TypeTag = QStringLiteral("KVIP");
constexpr int TextFieldCount = 22;
} // namespace

void CUserImportProfile::SetDefaultMapping()
{
    m_mapping.clear();
    for (int i = 0; i < TextFieldCount; ++i)
        m_mapping[ndb::UserEmail + 10 * i] = i;
    m_mapping[ndb::UserColorLabel] = 30;
    m_mapping[ndb::UserHtmlMail] = 40;
    m_mapping[ndb::UserEnabled] = 60;
}

void CUserImportProfile::Serialize(CPSArchive& archive)
{
    if (!archive.IsReading())
    {
        ArchiveWriteInt(archive, static_cast<qint32>(m_mapping.size()));
        for (const auto& [code, column] : m_mapping)
        {
            ArchiveWriteInt(archive, code);
            ArchiveWriteInt(archive, column);
        }
        return;
    }
    ImportMapping read;
    const int count = ArchiveDetail::ReadCount(archive, 8);
    for (int i = 0; i < count; ++i)
    {
        qint32 code = 0;
        qint32 column = 0;
        ArchiveReadInt(archive, code);
        ArchiveReadInt(archive, column);
        read[code] = column;
    }
    m_mapping = std::move(read);
}

bool CUserImportProfile::Load(const QString& path)
{
    CUserImportProfile read;
    const bool loaded = ReadArchiveFile(
        path,
        [](const ArchiveFileHeader& header)
        { return header.IsReadableAs(TypeTag, FileMajorVersion, FileMinorVersion); },
        [&read](CPSArchive& archive) { read.Serialize(archive); });
    if (loaded)
        m_mapping = std::move(read.m_mapping);
    return loaded;
}

bool CUserImportProfile::Save(const QString& path, const QString& creator)
{
    const ArchiveFileHeader header{TypeTag, FileMajorVersion, FileMinorVersion, creator, 0, 0};
    return WriteArchiveFile(path, header, [this](CPSArchive& archive) { Serialize(archive); });
}

int CUserImportProfile::FindColumn(int code) const
{
    const auto found = m_mapping.find(code);
    return found == m_mapping.end() ? -1 : found->second;
}
