#include "mail/FilterBayesian.h"

#include "mail/SpamDB.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace SpamFilter
{

namespace
{
// count / total, at most 1. A database built from no mail of one kind cannot have counted a
// word there either; should it claim so anyway, the word counts as seen in every such mail
// instead of dividing by zero.
double Frequency(qint64 count, int total)
{
    if (count <= 0)
        return 0.0;
    if (total <= 0)
        return 1.0;
    return std::min(1.0, static_cast<double>(count) / total);
}
} // namespace

bool CFilterBayesian::Classify(TokenScoreMap& tokenScores, const QString& text, const CSpamDB& database,
                               double& score) const
{
    TokenMap tokens;
    CParserBayesian().Tokenize(text, tokens);
    ScoredTokens scored;
    ScoreTokens(tokens, database, scored);
    CombineProbabilities(scored, score);
    FillTokenScores(tokenScores, scored);
    return true;
}

bool CFilterBayesian::WordProbability(const CSpamDB& database, const QString& word, double& probability) const
{
    probability = RareWordProbability;
    const qint64 spam = database.GetSpamCount(word);
    const qint64 ham = database.GetHamCount(word);
    if (spam + 2 * ham < MinimumWeight)
        return false;

    const double bad = Frequency(spam, database.GetSpamTotal());
    const double good = Frequency(2 * ham, database.GetHamTotal());
    if (!(bad + good > 0.0))
        return false;
    probability = std::clamp(bad / (bad + good), 0.01, 0.99);
    return true;
}

void CFilterBayesian::ScoreTokens(const TokenMap& tokens, const CSpamDB& database, ScoredTokens& scored) const
{
    for (const auto& entry : tokens)
    {
        double probability = RareWordProbability;
        WordProbability(database, entry.first, probability);
        scored.emplace(probability, entry.first);
    }
}

bool CFilterBayesian::CombineProbabilities(const ScoredTokens& scored, double& score) const
{
    if (scored.empty())
        return false;

    std::vector<double> chosen;
    auto low = scored.begin();
    auto high = std::prev(scored.end());
    bool tieTakesLow = true;
    while (static_cast<int>(chosen.size()) < MaxCombinedTokens)
    {
        const double dl = std::fabs(0.5 - low->first);
        const double dh = std::fabs(0.5 - high->first);
        if (low == high)
        {
            chosen.push_back(low->first);
            break;
        }
        if (dh < dl || (dh == dl && tieTakesLow))
        {
            chosen.push_back(low->first);
            ++low;
        }
        else
        {
            chosen.push_back(high->first);
            --high;
        }
        if (dh == dl)
            tieTakesLow = !tieTakesLow;
    }

    double p = 1.0;
    double q = 1.0;
    for (const double probability : chosen)
    {
        p *= probability;
        q *= 1.0 - probability;
    }
    // Only probabilities outside 0.01..0.99, which WordProbability never gives, could make both
    // products vanish.
    if (!(p + q > 0.0))
        return false;
    score = p / (p + q);
    return true;
}

void CFilterBayesian::FillTokenScores(TokenScoreMap& tokenScores, const ScoredTokens& scored) const
{
    tokenScores.clear();
    for (auto it = scored.rbegin();
         it != scored.rend() && static_cast<int>(tokenScores.size()) < MaxReportedTokens; ++it)
        tokenScores[it->second] = it->first;
}

} // namespace SpamFilter
