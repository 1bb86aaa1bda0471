#include "mail/SpamFilter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
namespace
{
// The builder's exit code, -1 when it did not end normally.
int RunBuilder(const QString& ham, const QString& spam, const QString& output)
{
    QProcess builder;
    builder.start(QStringLiteral(KV_SPAMDB_BUILDER), {ham, spam, output});
    if (!builder.waitForFinished(60000) || builder.exitStatus() != QProcess::NormalExit)
        return -1;
    return builder.exitCode();
}

void WriteMessage(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}
} // namespace

TEST(SpamDatabaseBuilder, CountsTheMessagesThatContainEachWord)
{
    QTemporaryDir dir;
    WriteMessage(dir.filePath(u"ham/a.txt"_qs), "Club news: the club meets on Friday.");
    WriteMessage(dir.filePath(u"ham/b.txt"_qs), "News from the bakery");
    WriteMessage(dir.filePath(u"ham/notes.md"_qs), "not a message");
    WriteMessage(dir.filePath(u"spam/a.txt"_qs), "FREE money, free \xc3\x9c"
                                                 "BERWEISUNG");
    const QString output = dir.filePath(u"spamdb.dat"_qs);
    ASSERT_EQ(RunBuilder(dir.filePath(u"ham"_qs), dir.filePath(u"spam"_qs), output), 0);

    CSpamFilter filter;
    ASSERT_TRUE(filter.LoadDatabase(output));
    const CSpamDB& database = filter.GetDatabase();
    EXPECT_EQ(database.GetHamTotal(), 2);
    EXPECT_EQ(database.GetSpamTotal(), 1);
    // Lower-cased as a page is before rating; a word counts once per message.
    EXPECT_EQ(database.GetHamCount(u"club"_qs), 1);
    EXPECT_EQ(database.GetHamCount(u"news"_qs), 2);
    EXPECT_EQ(database.GetHamCount(u"the"_qs), 2);
    EXPECT_EQ(database.GetSpamCount(u"free"_qs), 1);
    EXPECT_EQ(database.GetSpamCount(u"überweisung"_qs), 1);
    EXPECT_EQ(database.GetHamCount(u"message"_qs), 0);
    EXPECT_EQ(database.GetHamCount(u"Club"_qs), 0);

    // A corpus folder without messages fails and leaves the old output in place.
    const QByteArray before = ReadAll(output);
    EXPECT_EQ(RunBuilder(dir.filePath(u"ham"_qs), dir.filePath(u"none"_qs), output), 1);
    EXPECT_EQ(ReadAll(output), before);
}

TEST(ShippedSpamDatabase, IsWhatTheBuilderMakesOfTheCorpora)
{
    QTemporaryDir dir;
    const QString built = dir.filePath(u"spamdb.dat"_qs);
    ASSERT_EQ(RunBuilder(Corpus + u"/ham"_qs, Corpus + u"/spam"_qs, built), 0);
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
