// Loads a spam word database from arbitrary bytes and rates a text against whatever was loaded.
// A load must either succeed or leave the database empty, and a rating must stay within 0..1.

#include "base/PSStreamMemory.h"
#include "mail/SpamFilter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CPSStreamMemory stream;
    stream.SetBuffer(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    stream.Open(CPSStreamMemory::ModeRead);

    SpamFilter::CSpamFilter filter;
    const bool loaded = filter.LoadDatabase(stream);
    const SpamFilter::CSpamDB& database = filter.GetDatabase();
    if (!loaded &&
        (database.GetWordCount() != 0 || database.GetHamTotal() != 0 || database.GetSpamTotal() != 0))
        std::abort();

    // Rate the loaded words themselves, so that their counts reach the probability code.
    QString text = QStringLiteral("win money now ");
    int taken = 0;
    for (const auto& entry : database.GetWords())
    {
        if (++taken > 64)
            break;
        text += entry.first + QLatin1Char(' ');
    }
    SpamFilter::TokenScoreMap tokens;
    double score = 0.5;
    filter.GetClassifier().Classify(tokens, text, database, score);
    if (!(score >= 0.0 && score <= 1.0) || tokens.size() > 10)
        std::abort();
    for (const auto& token : tokens)
    {
        if (!(token.second >= 0.0 && token.second <= 1.0))
            std::abort();
    }
    return 0;
}
