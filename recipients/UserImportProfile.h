#pragma once

#include "base/PSBase.h"
#include "base/PSFactory.h"

#include <QString>

#include <map>

// Recipient field code to zero-based source column, in ascending code order. Several codes may
// share a column; a column may lie beyond the cells of a row.
using ImportMapping = std::map<int, int>;

// Which column of an imported table feeds which recipient field; kept in ".nprof" files.
class CUserImportProfile : public CPSBase
{
    KV_PERSISTENT_CLASS()
    static constexpr int FileMajorVersion = 2007;
    static constexpr int FileMinorVersion = 0;

    CUserImportProfile() { SetDefaultMapping(); }

    // The columns in the order of the recipient field table, and 600, 700 and 900 far to the
    // right, where files of other programs rarely reach.
    void SetDefaultMapping();
    // The count, then code and column of each entry. Reading replaces the mapping only when the
    // whole body reads.
    void Serialize(CPSArchive& archive) override;

    // False, mapping unchanged, for a file that is not a profile of this format or newer.
    bool Load(const QString& path);
    bool Save(const QString& path, const QString& creator);

    const ImportMapping& GetMapping() const { return m_mapping; }
    void SetMapping(const ImportMapping& mapping) { m_mapping = mapping; }
    void SetColumn(int code, int column) { m_mapping[code] = column; }
    // -1 when the code is not mapped.
    int FindColumn(int code) const;
    void RemoveMapping(int code) { m_mapping.erase(code); }

private:
    ImportMapping m_mapping;
};
