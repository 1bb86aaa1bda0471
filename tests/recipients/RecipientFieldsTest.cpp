#include "recipients/RecipientFields.h"
#include "ndb/NdbUser.h"
#include "platform/core/AppStrings.h"

#include <gtest/gtest.h>

TEST(RecipientFields, TableRunsFromEmailToEnabledWithItsOwnNames)
{
    const auto& fields = GetRecipientFields();
    ASSERT_EQ(fields.size(), 24u);
    EXPECT_EQ(fields.front().code, 110);
    EXPECT_EQ(fields[21].code, 320);
    EXPECT_EQ(fields[22].code, 700);
    EXPECT_EQ(fields.back().code, 900);
    EXPECT_EQ(&GetRecipientFields(), &fields);

    const std::pair<int, quint32> named[] = {{110, 12800}, {130, 12802}, {700, 12822}, {900, 12823}};
    for (const auto& [code, stringId] : named)
    {
        QString name;
        EXPECT_TRUE(GetRecipientFieldName(code, name)) << code;
        EXPECT_EQ(name, LoadAppString(stringId));
    }
    EXPECT_EQ(fields[2].name, QStringLiteral("First name"));
    for (int code : {100, 600, 800, 115, 0})
    {
        QString name = QStringLiteral("kept");
        EXPECT_FALSE(GetRecipientFieldName(code, name)) << code;
        EXPECT_EQ(name, QStringLiteral("kept"));
    }
}

TEST(RecipientFields, FlagsAreWrittenAsWordsWithTheirDefaults)
{
    ndb::CNdbUser user;
    EXPECT_EQ(GetRecipientFieldText(user, 700), QStringLiteral("yes"));
    EXPECT_EQ(GetRecipientFieldText(user, 900), QStringLiteral("yes"));
    EXPECT_EQ(GetRecipientFieldText(user, 800), QStringLiteral("no"));
    user.SetField(900, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    user.SetField(130, ndb::CNdbFieldValue(QStringLiteral("Ann")));
    EXPECT_EQ(GetRecipientFieldText(user, 900), QStringLiteral("no"));
    EXPECT_EQ(GetRecipientFieldText(user, 130), QStringLiteral("Ann"));
    EXPECT_EQ(GetRecipientFieldText(user, 150), QString());
}
