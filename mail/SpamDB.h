#pragma once

#include "base/PSBase.h"
#include "base/PSFactory.h"

#include <QString>

#include <map>
#include <utility>

namespace SpamFilter
{

// Word counts taken from good (ham) and spam mail. Read-only for the program: it is filled from
// "spamdb.dat" by CSpamFilter::LoadDatabase; only the database builder sets counts.
class CSpamDB : public CPSBase
{
    KV_PERSISTENT_CLASS()

    // Word -> (ham count, spam count), ordered by UTF-16 code unit, case-sensitive.
    using WordMap = std::map<QString, std::pair<int, int>>;

    CSpamDB() = default;
    ~CSpamDB() override = default;

    // Reading empties the database first and refuses negative totals and counts, which no
    // database holds and which would let probabilities leave 0..1.
    void Serialize(CPSArchive& archive) override;

    int GetHamCount(const QString& word) const;
    int GetSpamCount(const QString& word) const;
    int GetHamTotal() const { return m_hamTotal; }
    int GetSpamTotal() const { return m_spamTotal; }
    int GetWordCount() const { return static_cast<int>(m_words.size()); }
    const WordMap& GetWords() const { return m_words; }

    void SetTotals(int hamTotal, int spamTotal);
    void SetWordCounts(const QString& word, int hamCount, int spamCount);
    void Clear();

private:
    WordMap m_words;
    int m_hamTotal{0};
    int m_spamTotal{0};
};

} // namespace SpamFilter
