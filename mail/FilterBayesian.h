#pragma once

#include "mail/ParserBayesian.h"

#include <QString>

#include <map>

namespace SpamFilter
{

class CSpamDB;

// Token -> spam probability, as reported to the caller of a rating.
using TokenScoreMap = std::map<QString, double>;
// Probability -> token, ascending; tokens of equal probability stay in insertion order.
using ScoredTokens = std::multimap<double, QString>;

// Naive Bayesian scoring of a text against the word database. Holds no state: one object serves
// every rating.
class CFilterBayesian
{
public:
    // A word below this weight (spam count + 2 x ham count) says too little to be scored.
    static constexpr int MinimumWeight = 6;
    static constexpr double RareWordProbability = 0.4;
    static constexpr int MaxCombinedTokens = 15;
    static constexpr int MaxReportedTokens = 10;

    virtual ~CFilterBayesian() = default;

    // Rates the text: fills the token scores with the (at most 10) most spam-like tokens and sets
    // the score, the combined spam probability from 0 to 1. A text without tokens leaves the
    // score as it was. Always true.
    bool Classify(TokenScoreMap& tokenScores, const QString& text, const CSpamDB& database,
                  double& score) const;
    // The same rating with the arguments in the order the page rating passes them.
    bool Classify(const QString& text, const CSpamDB& database, TokenScoreMap& tokenScores,
                  double& score) const
    {
        return Classify(tokenScores, text, database, score);
    }

    // False (probability 0.4) when the word is too rare in the database to be judged. Good counts
    // weigh double, so a word seen in good mail needs more spam evidence.
    bool WordProbability(const CSpamDB& database, const QString& word, double& probability) const;
    // Scores every distinct token; rare and unknown tokens enter with 0.4.
    void ScoreTokens(const TokenMap& tokens, const CSpamDB& database, ScoredTokens& scored) const;
    // Combines the up to 15 probabilities farthest from 0.5; false, score untouched, when there
    // is nothing to combine.
    bool CombineProbabilities(const ScoredTokens& scored, double& score) const;
    // The up to 10 highest-scored tokens.
    void FillTokenScores(TokenScoreMap& tokenScores, const ScoredTokens& scored) const;
};

} // namespace SpamFilter
