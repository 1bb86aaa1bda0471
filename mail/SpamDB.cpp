#include "mail/SpamDB.h"

#include "base/ArchiveValues.h"

namespace SpamFilter
{

namespace
{
qint32 ReadCountValue(CPSArchive& archive)
{
    qint32 value = 0;
    ArchiveReadInt(archive, value);
    if (value < 0)
        archive.Fail("a word count is negative");
    return value;
}
} // namespace

void CSpamDB::Serialize(CPSArchive& archive)
{
    if (!archive.IsReading())
    {
        ArchiveWriteInt(archive, m_hamTotal);
        ArchiveWriteInt(archive, m_spamTotal);
        ArchiveWriteInt(archive, static_cast<qint32>(m_words.size()));
        for (const auto& [word, counts] : m_words)
        {
            ArchiveWriteString(archive, word);
            ArchiveWriteInt(archive, counts.first);
            ArchiveWriteInt(archive, counts.second);
        }
        return;
    }

    Clear();
    m_hamTotal = ReadCountValue(archive);
    m_spamTotal = ReadCountValue(archive);
    // Every record takes at least 12 bytes (empty word, two counts), so a count larger than the
    // data could hold is refused before the loop starts.
    const int count = ArchiveDetail::ReadCount(archive, 12);
    for (int i = 0; i < count; ++i)
    {
        QString word;
        ArchiveReadString(archive, word);
        const int ham = ReadCountValue(archive);
        const int spam = ReadCountValue(archive);
        m_words[word] = {ham, spam};
    }
}

int CSpamDB::GetHamCount(const QString& word) const
{
    const auto found = m_words.find(word);
    return found == m_words.end() ? 0 : found->second.first;
}

int CSpamDB::GetSpamCount(const QString& word) const
{
    const auto found = m_words.find(word);
    return found == m_words.end() ? 0 : found->second.second;
}

void CSpamDB::SetTotals(int hamTotal, int spamTotal)
{
    m_hamTotal = hamTotal;
    m_spamTotal = spamTotal;
}

void CSpamDB::SetWordCounts(const QString& word, int hamCount, int spamCount)
{
    m_words[word] = {hamCount, spamCount};
}

void CSpamDB::Clear()
{
    m_words.clear();
    m_hamTotal = 0;
    m_spamTotal = 0;
}

} // namespace SpamFilter
