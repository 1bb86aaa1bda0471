#include "mail/FilterBayesian.h"
#include "mail/SpamDB.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace SpamFilter;

namespace
{
struct Word
{
    QString text;
    int ham;
    int spam;
};

CSpamDB MakeDatabase(int hamTotal, int spamTotal, const std::vector<Word>& words)
{
    CSpamDB database;
    database.SetTotals(hamTotal, spamTotal);
    for (const Word& word : words)
        database.SetWordCounts(word.text, word.ham, word.spam);
    return database;
}

ScoredTokens Scored(const std::vector<double>& probabilities)
{
    ScoredTokens scored;
    int n = 0;
    for (const double p : probabilities)
        scored.emplace(p, QStringLiteral("t%1").arg(n++, 2, 10, QLatin1Char('0')));
    return scored;
}

std::vector<double> Repeat(double probability, int count)
{
    return std::vector<double>(static_cast<size_t>(count), probability);
}
} // namespace

TEST(FilterBayesian, WordProbabilityWeighsGoodCountsDouble)
{
    struct Case
    {
        int spam, ham, spamTotal, hamTotal;
        bool judged;
        double probability;
    };
    const std::vector<Case> cases = {
        {6, 0, 100, 100, true, 0.99},        // b = 0.06, g = 0
        {0, 3, 100, 100, true, 0.01},        // weight 6 reaches the threshold
        {5, 0, 100, 100, false, 0.4},        // weight 5 is too rare
        {4, 1, 100, 100, true, 0.04 / 0.06}, // b = 0.04, g = 0.02
        {10, 10, 100, 100, true, 0.1 / 0.3}, // b = 0.1, g = 0.2
        {30, 5, 200, 50, true, 0.15 / 0.35}, // b = 0.15, g = 0.2
        {500, 500, 100, 100, true, 0.5},     // both frequencies capped at 1
        {0, 0, 100, 100, false, 0.4},        // absent
        // A database that claims counts without messages counts them as seen in every message.
        {6, 0, 0, 0, true, 0.99},
        {0, 3, 0, 0, true, 0.01},
        {3, 3, 0, 0, true, 0.5},
    };
    for (const Case& c : cases)
    {
        const CSpamDB database = MakeDatabase(c.hamTotal, c.spamTotal, {{u"word"_qs, c.ham, c.spam}});
        double probability = -1;
        EXPECT_EQ(CFilterBayesian().WordProbability(database, u"word"_qs, probability), c.judged)
            << c.spam << "/" << c.ham;
        EXPECT_NEAR(probability, c.probability, 1e-12) << c.spam << "/" << c.ham;
    }
}

TEST(FilterBayesian, CombinesTheMostTellingProbabilities)
{
    const double p4 = 0.99 * 0.99 * 0.01 * 0.4;
    const double q4 = 0.01 * 0.01 * 0.99 * 0.6;
    std::vector<double> oneStrongManyWeak = Repeat(0.4, 16);
    oneStrongManyWeak.push_back(0.99);
    struct Case
    {
        const char* name;
        std::vector<double> probabilities;
        double score;
    };
    const std::vector<Case> cases = {
        {"four tokens", {0.99, 0.99, 0.01, 0.4}, p4 / (p4 + q4)}, // about 0.98507
        {"one token", {0.9}, 0.9},
        // Unknown words lean slightly innocent, and more of them lean more.
        {"seven unknown tokens", Repeat(0.4, 7), 1 / (1 + std::pow(0.6 / 0.4, 7))},
        {"only 15 of 20 count", Repeat(0.7, 20), 1 / (1 + std::pow(0.3 / 0.7, 15))},
        // The strong token comes first, then 14 of the 16 weak ones.
        {"strong before weak", oneStrongManyWeak,
         0.99 * std::pow(0.4, 14) / (0.99 * std::pow(0.4, 14) + 0.01 * std::pow(0.6, 14))},
        // Equal distance from 0.5 alternates, starting at the low end: 8 lows and 7 highs.
        {"ties alternate from low",
         []
         {
             std::vector<double> v = Repeat(0.25, 16);
             v.insert(v.end(), 16, 0.75);
             return v;
         }(),
         0.25},
    };
    for (const Case& c : cases)
    {
        double score = -1;
        EXPECT_TRUE(CFilterBayesian().CombineProbabilities(Scored(c.probabilities), score)) << c.name;
        EXPECT_NEAR(score, c.score, 1e-9) << c.name;
    }
}

TEST(FilterBayesian, CombiningNothingLeavesTheScore)
{
    double score = 0.25;
    EXPECT_FALSE(CFilterBayesian().CombineProbabilities({}, score));
    EXPECT_EQ(score, 0.25);
}

TEST(FilterBayesian, TokenScoresHoldTheTenHighest)
{
    TokenScoreMap tokenScores = {{u"stale"_qs, 0.5}};
    CFilterBayesian().FillTokenScores(tokenScores, Scored(Repeat(0.4, 12)));
    // Among equal probabilities the later scored win, which are the last in ordinal order.
    TokenScoreMap expected;
    for (int n = 2; n < 12; ++n)
        expected[QStringLiteral("t%1").arg(n, 2, 10, QLatin1Char('0'))] = 0.4;
    EXPECT_EQ(tokenScores, expected);

    CFilterBayesian().FillTokenScores(tokenScores, Scored({0.01, 0.99, 0.4}));
    expected = {{u"t00"_qs, 0.01}, {u"t01"_qs, 0.99}, {u"t02"_qs, 0.4}};
    EXPECT_EQ(tokenScores, expected);

    CFilterBayesian().FillTokenScores(tokenScores, {});
    EXPECT_TRUE(tokenScores.empty());
}

TEST(FilterBayesian, ClassifyReportsTheTenMostSpammyTokens)
{
    std::vector<Word> words;
    QString text;
    // Twelve spam words of rising strength and three good words.
    for (int n = 0; n < 12; ++n)
    {
        const QString word = QString(QChar(u'a' + n)).repeated(3);
        words.push_back({word, 1, 10 + 5 * n});
        text += word + u' ';
    }
    for (const QString& good : {u"meeting"_qs, u"garden"_qs, u"choir"_qs})
    {
        words.push_back({good, 40, 0});
        text += good + u' ';
    }
    const CSpamDB database = MakeDatabase(100, 100, words);

    TokenScoreMap tokenScores;
    double score = -1;
    EXPECT_TRUE(CFilterBayesian().Classify(tokenScores, text, database, score));
    ASSERT_EQ(tokenScores.size(), 10u);
    // The two weakest spam words and the good words fall out.
    for (const QString& dropped : {u"aaa"_qs, u"bbb"_qs, u"meeting"_qs, u"garden"_qs, u"choir"_qs})
        EXPECT_EQ(tokenScores.count(dropped), 0u) << dropped.toStdString();
    double expected = 0;
    CFilterBayesian().WordProbability(database, u"lll"_qs, expected);
    EXPECT_DOUBLE_EQ(tokenScores.at(u"lll"_qs), expected);
    EXPECT_GT(score, 0.5);
    EXPECT_LE(score, 1.0);

    // The argument order of the page rating gives the same result.
    TokenScoreMap again;
    double sameScore = -1;
    EXPECT_TRUE(CFilterBayesian().Classify(text, database, again, sameScore));
    EXPECT_EQ(again, tokenScores);
    EXPECT_EQ(sameScore, score);
}

TEST(FilterBayesian, ClassifyMatchesWordsCaseSensitively)
{
    const CSpamDB database = MakeDatabase(10, 10, {{u"prize"_qs, 0, 10}});
    TokenScoreMap tokenScores;
    double score = -1;
    CFilterBayesian().Classify(tokenScores, u"PRIZE prize"_qs, database, score);
    const TokenScoreMap expected = {{u"PRIZE"_qs, 0.4}, {u"prize"_qs, 0.99}};
    EXPECT_EQ(tokenScores, expected);
}

TEST(FilterBayesian, EmptyDatabaseScoresEveryTokenAsUnknown)
{
    const CSpamDB database;
    TokenScoreMap tokenScores;
    double score = -1;
    EXPECT_TRUE(CFilterBayesian().Classify(tokenScores, u"prize"_qs, database, score));
    EXPECT_DOUBLE_EQ(score, 0.4);

    EXPECT_TRUE(CFilterBayesian().Classify(tokenScores, u"claim your prize now"_qs, database, score));
    EXPECT_NEAR(score, 1 / (1 + std::pow(0.6 / 0.4, 4)), 1e-12);
    ASSERT_EQ(tokenScores.size(), 4u);
    for (const auto& [token, probability] : tokenScores)
        EXPECT_EQ(probability, 0.4) << token.toStdString();
}

TEST(FilterBayesian, TextWithoutTokensLeavesTheScoreAndEmptiesTheMap)
{
    const CSpamDB database = MakeDatabase(10, 10, {{u"prize"_qs, 0, 10}});
    for (const QString& text : {QString(), u" 42 !!! "_qs})
    {
        TokenScoreMap tokenScores = {{u"old"_qs, 0.9}};
        double score = 0.75;
        EXPECT_TRUE(CFilterBayesian().Classify(tokenScores, text, database, score));
        EXPECT_EQ(score, 0.75);
        EXPECT_TRUE(tokenScores.empty());
    }
}
