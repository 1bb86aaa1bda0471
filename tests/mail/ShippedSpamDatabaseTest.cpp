#include "mail/SpamFilter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace SpamFilter;

namespace
{
const QString ShippedDatabase = QStringLiteral(KV_SOURCE_DIR "/data/spamdb/spamdb.dat");
const QString Corpus = QStringLiteral(KV_SOURCE_DIR "/data/spamdb/corpus");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Rated the way a page is: lower-cased text.
double Score(CSpamFilter& filter, const QString& dataFile, TokenScoreMap& tokens)
{
    const QString text = QString::fromUtf8(ReadAll(QStringLiteral(KV_TEST_DATA_DIR "/") + dataFile));
    EXPECT_FALSE(text.isEmpty()) << dataFile.toStdString();
    double score = -1;
    filter.GetClassifier().Classify(tokens, text.toLower(), filter.GetDatabase(), score);
    return score;
}
// The page rating's verdict: 2 spam, 1 suspicious, 0 clean.
int Rating(double score, const TokenScoreMap& tokens)
{
    for (const auto& token : tokens)
    {
        if (token.second >= 0.99)
            return 2;
    }
    return score >= 0.99 ? 2 : score >= 0.98 ? 1 : 0;
}
} // namespace

#ifdef KV_SPAMDB_BUILDER
TEST(ShippedSpamDatabase, IsWhatTheBuilderMakesOfTheCorpora)
{
    QTemporaryDir dir;
    const QString built = dir.filePath(u"spamdb.dat"_qs);
    QProcess builder;
    builder.start(QStringLiteral(KV_SPAMDB_BUILDER), {Corpus + u"/ham"_qs, Corpus + u"/spam"_qs, built});
    ASSERT_TRUE(builder.waitForFinished(60000));
    ASSERT_EQ(builder.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(builder.exitCode(), 0) << builder.readAllStandardError().toStdString();
    const QByteArray shipped = ReadAll(ShippedDatabase);
    ASSERT_FALSE(shipped.isEmpty());
    EXPECT_TRUE(ReadAll(built) == shipped) << "rebuild data/spamdb/spamdb.dat with kv_spamdb_builder";
}
#endif

TEST(ShippedSpamDatabase, RatesHeldOutMailSensibly)
{
    CSpamFilter filter;
    ASSERT_TRUE(filter.LoadDatabase(ShippedDatabase));
    EXPECT_GT(filter.GetDatabase().GetHamTotal(), 100);
    EXPECT_GT(filter.GetDatabase().GetSpamTotal(), 100);

    for (const QString& spam :
         {u"heldout-spam-pharmacy.txt"_qs, u"heldout-spam-phishing.txt"_qs, u"heldout-spam-lottery.txt"_qs})
    {
        TokenScoreMap tokens;
        const double score = Score(filter, spam, tokens);
        EXPECT_GT(score, 0.9) << spam.toStdString();
        EXPECT_EQ(Rating(score, tokens), 2) << spam.toStdString();
        EXPECT_EQ(tokens.size(), 10u) << spam.toStdString();
    }
    for (const QString& ham : {u"heldout-ham-choir.txt"_qs, u"heldout-ham-bookshop.txt"_qs,
                               u"heldout-ham-shopoffer.txt"_qs, u"heldout-ham-security.txt"_qs})
    {
        TokenScoreMap tokens;
        const double score = Score(filter, ham, tokens);
        EXPECT_LT(score, 0.5) << ham.toStdString();
        EXPECT_EQ(Rating(score, tokens), 0) << ham.toStdString();
        // Not a single word may mark a newsletter as spam on its own.
        for (const auto& [token, probability] : tokens)
            EXPECT_LT(probability, 0.99) << ham.toStdString() << ": " << token.toStdString();
    }
}
