#include "mailui/DlgSpamCheck.h"
#include "mail/SpamRater.h"

#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{
class CFixedRater : public ISpamRater
{
public:
    bool RateSpamWithTokens(const QString& page, int& rating, SpamFilter::TokenScoreMap& tokens) override
    {
        pages << page;
        rating = m_rating;
        tokens = m_tokens;
        return m_succeeds;
    }

    int m_rating{0};
    SpamFilter::TokenScoreMap m_tokens;
    bool m_succeeds{true};
    QStringList pages;
};

QStringList Words(CDlgSpamCheck& dialog)
{
    QStringList words;
    for (int row = 0; row < dialog.GetWordList().GetItemCount(); ++row)
        words << dialog.GetWordList().GetItemText(row, 0);
    return words;
}

TEST(DlgSpamCheck, EachRatingLightsItsLampAndListsTheHeavyWords)
{
    struct Case
    {
        const char* name;
        int rating;
        bool succeeds;
        std::vector<UINT> lamps;
        QStringList words;
    };
    const SpamFilter::TokenScoreMap tokens{{"cheap", 0.99}, {"viagra", 0.95}, {"hello", 0.55}, {"Free", 0.6}};
    for (const Case& c :
         {Case{"high", 2, true, {310, 311, 311}, {"Free", "Viagra", "Cheap"}},
          Case{"medium", 1, true, {311, 312, 311}, {"Free", "Viagra", "Cheap"}},
          Case{"low", 0, true, {311, 311, 309}, {}}, Case{"failed", 2, false, {310, 311, 311}, {}}})
    {
        CFixedRater rater;
        rater.m_rating = c.rating;
        rater.m_tokens = tokens;
        rater.m_succeeds = c.succeeds;
        CDlgSpamCheck dialog(&rater, QStringLiteral("<p>Cheap viagra</p>"));
        ASSERT_TRUE(dialog.Create(CDlgSpamCheck::IDD));
        EXPECT_EQ(rater.pages, QStringList{"<p>Cheap viagra</p>"});
        EXPECT_EQ(std::vector<UINT>(dialog.GetLampIcons(), dialog.GetLampIcons() + 3), c.lamps) << c.name;
        EXPECT_EQ(Words(dialog), c.words) << c.name;
        QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
        dialog.GetSafeHwnd()->grab().save(QStringLiteral(KV_ARTIFACT_DIR "/spam-check-%1.png").arg(c.name));
        dialog.DestroyWindow();
    }
}

TEST(DlgSpamCheck, TenEquallyHeavyWordsAllAppear)
{
    CFixedRater rater;
    rater.m_rating = 2;
    for (int i = 0; i < 10; ++i)
        rater.m_tokens[QStringLiteral("word%1").arg(i)] = 0.99;
    CDlgSpamCheck dialog(&rater, QStringLiteral("x"));
    ASSERT_TRUE(dialog.Create(CDlgSpamCheck::IDD));
    EXPECT_EQ(Words(dialog).size(), 10);
    EXPECT_EQ(Words(dialog).front(), QStringLiteral("Word0"));
}
} // namespace
