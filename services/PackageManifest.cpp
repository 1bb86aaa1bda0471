#include "services/PackageManifest.h"

#include "services/QorxText.h"
#include "x2/X2Validator.h"

#include <QList>
#include <QRegularExpression>

#include <algorithm>

namespace
{
bool IsRelativeInside(const QString& path)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\')) ||
        drive.match(path).hasMatch())
        return false;
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    const QStringList parts = path.split(separators);
    return !parts.contains(QStringLiteral(".."));
}
} // namespace

bool CPackageManifest::Read(CX2Validator& document)
{
    CX2Element& root = document.GetRoot();
    const CX2Element* package = root.FindElementByName(QStringLiteral("qorx_system"));
    if (!package)
        package = root.FindElementByName(QStringLiteral("qorx_package"));
    if (!package)
        return false;
    m_version = QorxText::LeadingNumber(package->GetAttributeValue(QStringLiteral("version")));
    m_family = package->GetAttributeValue(QStringLiteral("family"));

    QList<CX2Element*> replaces;
    document.FindElementsByName(replaces, QStringLiteral("replace"));
    for (const CX2Element* replace : std::as_const(replaces))
    {
        const QString key = replace->GetAttributeValue(QStringLiteral("key"));
        if (key.isEmpty())
            continue;
        const bool hasText =
            replace->GetChildCount() > 0 && replace->GetChild(0)->GetKind() == CX2Element::Text;
        m_defaults[QorxText::UpperKey(key)] = hasText ? replace->GetChild(0)->GetText() : QString();
    }

    QList<CX2Element*> files;
    document.FindElementsByName(files, QStringLiteral("remotefile"));
    for (const CX2Element* file : std::as_const(files))
    {
        PackageFileEntry entry;
        entry.source = file->GetAttributeValue(QStringLiteral("src"));
        entry.destination = file->GetAttributeValue(QStringLiteral("dest"));
        if (entry.source.isEmpty() || entry.destination.isEmpty())
            continue;
        if (file->GetAttributeValue(QStringLiteral("usereplace")) == QLatin1String("yes"))
            entry.flags = PackageFileEntry::FillPlaceholders;
        m_files.push_back(entry);
    }
    return true;
}

bool CPackageManifest::HasOnlyRelativePaths() const
{
    return std::all_of(m_files.begin(), m_files.end(),
                       [](const PackageFileEntry& entry)
                       { return IsRelativeInside(entry.source) && IsRelativeInside(entry.destination); });
}
