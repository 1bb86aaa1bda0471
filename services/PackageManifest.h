#pragma once

#include "services/PackageFileEntry.h"

#include <QString>

#include <map>
#include <vector>

class CX2Validator;

// What a framework package's manifest says: the package's version and system name, the default
// values of its placeholders and the files to upload, in manifest order.
class CPackageManifest
{
public:
    // False when the document has neither a "qorx_system" nor a "qorx_package" element.
    bool Read(CX2Validator& document);

    int GetVersion() const { return m_version; }
    const QString& GetFamily() const { return m_family; }
    // Upper-cased keys; a later element of the same key wins.
    const std::map<QString, QString>& GetDefaults() const { return m_defaults; }
    const std::vector<PackageFileEntry>& GetFiles() const { return m_files; }

    // True when no file's source or destination is absolute or climbs out with "..", so that
    // every source lies beside the manifest and every destination below the site's folder.
    bool HasOnlyRelativePaths() const;

private:
    int m_version{0};
    QString m_family;
    std::map<QString, QString> m_defaults;
    std::vector<PackageFileEntry> m_files;
};
