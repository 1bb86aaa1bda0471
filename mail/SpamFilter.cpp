#include "mail/SpamFilter.h"

#include "base/ArchiveValues.h"
#include "base/PSStreamFile.h"

namespace SpamFilter
{

CSpamFilter::CSpamFilter() = default;

CSpamFilter::~CSpamFilter() = default;

bool CSpamFilter::LoadDatabase(const QString& path)
{
    CPSStreamFile file;
    if (!file.Open(path, true, false))
        return false;
    const bool loaded = LoadDatabase(file);
    file.Close();
    return loaded;
}

bool CSpamFilter::LoadDatabase(CPSStream& stream)
{
    if (!stream.IsOpen() || !stream.IsReading())
        return false;
    CPSArchive archive(stream);
    archive.SetUtf8(true);
    qint32 major = 0;
    qint32 minor = 0;
    qint32 third = 0;
    if (!archive.ReadInt32(major) || !archive.ReadInt32(minor) || !archive.ReadInt32(third))
    {
        m_database.Clear();
        return false;
    }
    // Negative version numbers come only from damaged files; they are refused like newer ones.
    if (major < 0 || minor < 0 || major > m_supportedMajor ||
        (major == m_supportedMajor && minor > m_supportedMinor))
        return false;

    archive.SetVersion(CPSArchive::MakeVersion(major, minor));
    if (!ArchiveSerializeRoot(archive, m_database))
    {
        m_database.Clear();
        return false;
    }
    return true;
}

void CSpamFilter::GetSupportedVersion(int& major, int& minor, int& third) const
{
    major = m_supportedMajor;
    minor = m_supportedMinor;
    third = m_supportedThird;
}

CFilterBayesian& CSpamFilter::GetClassifier()
{
    if (!m_classifier)
        m_classifier = std::make_unique<CFilterBayesian>();
    return *m_classifier;
}

} // namespace SpamFilter
