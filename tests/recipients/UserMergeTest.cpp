#include "recipients/UserMerge.h"
#include "base/TextHelpers.h"
#include "ndb/NdbUserList.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/WinConstants.h"

#include <gtest/gtest.h>

namespace
{
void AddUser(ndb::CNdbUserList& list, const QString& address)
{
    auto user = std::make_unique<ndb::CNdbUser>();
    user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
    list.AddUser(std::move(user));
}

QStringList Addresses(const ndb::CNdbUserList& list)
{
    QStringList addresses;
    for (const auto& user : list.GetUsers())
        addresses << user->GetString(ndb::UserEmail) + (user->IsEnabled() ? "" : " (off)");
    return addresses;
}
} // namespace

TEST(UserMerge, CasesCountsAndSummaries)
{
    struct Case
    {
        const char* name;
        QStringList existing;
        QStringList imported;
        bool disable;
        int added, duplicates, invalid;
        QStringList after;
        UINT icon;
    };
    const Case cases[] = {
        {"new addresses in reverse order",
         {"x@a.com"},
         {"a@b.com", " b@b.com ", "c@b.com"},
         false,
         3,
         0,
         0,
         {"x@a.com", "c@b.com", "b@b.com", "a@b.com"},
         MB_ICONINFORMATION},
        {"already in the list", {"a@b.com"}, {"a@b.com"}, false, 0, 1, 0, {"a@b.com"}, MB_ICONINFORMATION},
        {"other letter case",
         {"Ann@B.com"},
         {"ann@b.com"},
         false,
         0,
         1,
         0,
         {"Ann@B.com"},
         MB_ICONINFORMATION},
        {"twice in a file", {}, {"d@b.com", "D@b.com"}, false, 1, 1, 0, {"D@b.com"}, MB_ICONINFORMATION},
        {"invalid only", {}, {"no address", ""}, false, 0, 0, 2, {}, MB_ICONEXCLAMATION},
        {"invalid beside added", {}, {"bad", "e@b.com"}, false, 1, 0, 1, {"e@b.com"}, MB_ICONINFORMATION},
        {"disable option",
         {"a@b.com", "k@b.com"},
         {"a@b.com", "n@b.com"},
         true,
         1,
         1,
         0,
         {"a@b.com (off)", "k@b.com", "n@b.com (off)"},
         MB_ICONINFORMATION},
        {"disable option with invalid",
         {},
         {"bad", "f@b.com"},
         true,
         1,
         0,
         1,
         {"f@b.com (off)"},
         MB_ICONEXCLAMATION},
    };
    for (const Case& c : cases)
    {
        ndb::CNdbUserList target;
        ndb::CNdbUserList imported;
        for (const QString& address : c.existing)
            AddUser(target, address);
        for (const QString& address : c.imported)
            AddUser(imported, address);
        CUserMerge merge(target, c.disable);
        merge.Merge(imported);
        EXPECT_EQ(imported.GetCount(), 0) << c.name;
        EXPECT_EQ(merge.GetTotal(), c.imported.size()) << c.name;
        EXPECT_EQ(merge.GetAdded(), c.added) << c.name;
        EXPECT_EQ(merge.GetDuplicates(), c.duplicates) << c.name;
        EXPECT_EQ(merge.GetInvalid(), c.invalid) << c.name;
        EXPECT_EQ(Addresses(target), c.after) << c.name;
        EXPECT_EQ(merge.GetSummaryIcon(), c.icon) << c.name;
        const QStringList numbers =
            c.disable ? QStringList{QString::number(c.imported.size() - c.invalid), QString::number(c.added),
                                    QString::number(c.duplicates), QString::number(c.invalid)}
                      : QStringList{QString::number(c.added), QString::number(c.duplicates),
                                    QString::number(c.invalid)};
        EXPECT_EQ(merge.GetSummaryText(),
                  FormatResourceText(LoadAppString(c.disable ? 15347 : 15330), numbers))
            << c.name;
        EXPECT_EQ(int(merge.GetAddedUsers().size()), c.added) << c.name;
    }
}

TEST(UserMerge, SummaryTextsReadAsWritten)
{
    ndb::CNdbUserList target;
    ndb::CNdbUserList imported;
    AddUser(imported, QStringLiteral("a@b.com"));
    AddUser(imported, QStringLiteral("bad"));
    CUserMerge merge(target, false);
    merge.Merge(imported);
    EXPECT_EQ(merge.GetSummaryText(), QStringLiteral("1 recipients added\n\n0 recipients were duplicates "
                                                     "(not added)\n1 failed (invalid email format)"));
}
