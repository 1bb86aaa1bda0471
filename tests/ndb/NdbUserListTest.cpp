#include "ndb/NdbUserList.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"

#include "ndb/NdbFileHelpers.h"

#include <gtest/gtest.h>

using namespace ndb;
using NdbTest::Int;
using NdbTest::Text;

namespace
{
std::unique_ptr<CNdbUser> User(const QString& email)
{
    auto user = std::make_unique<CNdbUser>();
    user->SetField(UserEmail, CNdbFieldValue(email));
    return user;
}

CNdbUser* Add(CNdbUserList& list, const QString& email)
{
    list.AddUser(User(email));
    return list.GetUserAt(list.GetCount() - 1);
}

void SetBool(CNdbUser& user, int id, bool value)
{
    ASSERT_TRUE(user.SetField(id, CNdbFieldValue(NdbValueBool, value)));
}
} // namespace

TEST(NdbUser, NewRecipientHasAGuidAndTypedFields)
{
    CNdbUser user;
    EXPECT_EQ(user.GetKind(), NdbKindUser);
    EXPECT_EQ(user.GetString(UserId).size(), 38);
    EXPECT_TRUE(user.IsEnabled());
    EXPECT_FALSE(user.IsBlocked());
    EXPECT_FALSE(user.HasColorLabel());

    EXPECT_FALSE(user.SetField(UserColorLabel, CNdbFieldValue(NdbValueInt, NdbLabelGreen)));
    EXPECT_TRUE(user.SetField(UserColorLabel, CNdbFieldValue(NdbValueColorLabel, NdbLabelGreen)));
    EXPECT_TRUE(user.HasColorLabel());
    for (const int id : {UserHtmlMail, UserBlocked, UserEnabled})
    {
        EXPECT_FALSE(user.SetField(id, CNdbFieldValue(u"yes"))) << id;
        EXPECT_TRUE(user.SetField(id, CNdbFieldValue(NdbValueBool, 0))) << id;
    }
    EXPECT_FALSE(user.IsEnabled());
    EXPECT_FALSE(user.SetField(UserCustom4, CNdbFieldValue(NdbValueBool, 1)));
    EXPECT_TRUE(user.SetField(UserCustom4, CNdbFieldValue(u"gold")));
}

TEST(NdbUser, RecipientWithoutIdentifierGetsOneInEitherDirection)
{
    // Kind, one field: the address only.
    const QByteArray noId = Int(NdbKindUser) + Int(1) + Int(UserEmail) + Int(NdbValueText) + Text("a@b.c");
    CNdbUser read;
    ASSERT_TRUE(NdbTest::ReadRoot(noId, read));
    EXPECT_EQ(read.GetString(UserId).size(), 38);
    EXPECT_EQ(read.GetString(UserEmail), "a@b.c");

    // Recipients in a list are made by the archive, which gives them no identifier up front.
    const QByteArray twoWithoutId = Int(NdbKindUserList) + Int(0) + Int(2) + Int(1) + Int(1) + Int(1) +
                                    Text("CNdbUser") + noId + Int(2) + Int(1) + noId;
    CNdbUserList list;
    ASSERT_TRUE(NdbTest::ReadRoot(twoWithoutId, list));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetUserAt(0)->GetString(UserId).size(), 38);
    EXPECT_EQ(list.GetUserAt(1)->GetString(UserId).size(), 38);
    EXPECT_NE(list.GetUserAt(0)->GetString(UserId), list.GetUserAt(1)->GetString(UserId));

    CNdbUser written;
    written.RemoveField(UserId);
    const QByteArray bytes = NdbTest::WriteRoot(written);
    EXPECT_EQ(bytes, Int(NdbKindUser) + Int(0));
    EXPECT_EQ(written.GetString(UserId).size(), 38);
}

TEST(NdbUserList, DuplicateAddressIgnoresCaseAndTheExcepted)
{
    CNdbUserList list;
    CNdbUser* ann = Add(list, "ann@example.com");
    Add(list, "bob@example.com");
    EXPECT_EQ(list.FindDuplicateAddress("ANN@EXAMPLE.COM", nullptr), ann);
    EXPECT_EQ(list.FindDuplicateAddress("ANN@EXAMPLE.COM", ann), nullptr);
    CNdbUser* again = Add(list, "Ann@Example.com");
    EXPECT_EQ(list.FindDuplicateAddress("ann@example.com", ann), again);
    EXPECT_EQ(list.FindDuplicateAddress("carl@example.com", nullptr), nullptr);
}

TEST(NdbUserList, FindByIdIgnoresCase)
{
    CNdbUserList list;
    Add(list, "ann@example.com");
    CNdbUser* bob = Add(list, "bob@example.com");
    EXPECT_EQ(list.FindById(bob->GetString(UserId).toLower()), bob);
    EXPECT_EQ(list.FindById("{nope}"), nullptr);
}

TEST(NdbUserList, IndexByAddressIsExactAndTakesTheLater)
{
    CNdbUserList list;
    CNdbUser* lower = Add(list, "ann@example.com");
    CNdbUser* upper = Add(list, "Ann@example.com");
    Add(list, "bob@example.com");
    CNdbUser* bobAgain = Add(list, "bob@example.com");
    std::map<QString, CNdbUser*> index;
    EXPECT_TRUE(list.IndexByAddress(index));
    ASSERT_EQ(index.size(), 3u);
    EXPECT_EQ(index["ann@example.com"], lower);
    EXPECT_EQ(index["Ann@example.com"], upper);
    EXPECT_EQ(index["bob@example.com"], bobAgain);
}

TEST(NdbUserList, CountsEnabledAndPendingRecipients)
{
    CNdbNewsletter letter;
    CNdbUserList& list = letter.Users();
    Add(list, "plain@x.org"); // counted: no fields, no log entry
    SetBool(*Add(list, "blocked@x.org"), UserBlocked, true);
    SetBool(*Add(list, "disabled@x.org"), UserEnabled, false);
    Add(list, "sent@x.org");
    Add(list, "failed@x.org");
    Add(list, "rejected@x.org");
    Add(list, "pending@x.org");                              // counted: status 40
    Add(list, "attempted@x.org");                            // counted: an entry without a status
    SetBool(*Add(list, "enabled@x.org"), UserEnabled, true); // counted
    CNdbLog& log = letter.Log();
    log.SetStatus(NdbSendSent, "sent@x.org");
    log.SetStatus(NdbSendFailed, "failed@x.org");
    log.SetStatus(NdbSendFailedPermanently, "rejected@x.org");
    log.SetStatus(NdbSendPending, "pending@x.org");
    log.CountAttempt("attempted@x.org");
    log.SetStatus(NdbSendSent, "PLAIN@x.org"); // another address text: not plain's entry

    EXPECT_EQ(list.CountEnabled(), 8);
    const size_t entries = log.GetEntries().size();
    EXPECT_EQ(list.CountPending(&letter), 4);
    EXPECT_EQ(log.GetEntries().size(), entries);
    EXPECT_EQ(list.CountPending(nullptr), 7);
}

TEST(NdbUserList, RemovingDeletingAndDetaching)
{
    CNdbUserList list;
    Add(list, "a@x.org");
    CNdbUser* b = Add(list, "b@x.org");
    Add(list, "c@x.org");
    CNdbUser stranger;
    list.RemoveUser(&stranger);
    list.RemoveUserAt(7);
    EXPECT_EQ(list.GetCount(), 3);
    list.RemoveUser(b);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetUserAt(1)->GetString(UserEmail), "c@x.org");
    list.RemoveUserAt(0);
    EXPECT_EQ(list.GetUserAt(0)->GetString(UserEmail), "c@x.org");

    Add(list, "d@x.org");
    CNdbUserList::UserVector detached = list.DetachAll();
    EXPECT_EQ(list.GetCount(), 0);
    ASSERT_EQ(detached.size(), 2u);
    EXPECT_EQ(detached[1]->GetString(UserEmail), "d@x.org");
}

TEST(NdbUserList, ArchivesFieldsThenRecipientsAndReplacesOnLoad)
{
    CNdbUserList list;
    list.SetField(UserListName, CNdbFieldValue(u"Club"));
    Add(list, "a@x.org")->SetField(UserFirstName, CNdbFieldValue(u"Ann"));
    Add(list, "b@x.org");
    const QByteArray bytes = NdbTest::WriteRoot(list);
    EXPECT_TRUE(bytes.startsWith(Int(NdbKindUserList) + Int(1) + Int(UserListName)));

    CNdbUserList read;
    Add(read, "stale@x.org");
    ASSERT_TRUE(NdbTest::ReadRoot(bytes, read));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetName(), "Club");
    EXPECT_EQ(read.GetUserAt(0)->GetString(UserFirstName), "Ann");
    EXPECT_EQ(read.GetUserAt(1)->GetString(UserId), list.GetUserAt(1)->GetString(UserId));
    EXPECT_EQ(NdbTest::WriteRoot(read), bytes);
}

class NdbMailGroupFile : public NdbTest::FileTest
{
protected:
    static std::unique_ptr<CNdbMailGroup> Sample()
    {
        auto group = std::make_unique<CNdbMailGroup>(QStringLiteral("Members"));
        group->SetField(MailGroupId, CNdbFieldValue(u"{GROUP}"));
        group->SetField(MailGroupKind, CNdbFieldValue(NdbValueMailGroupKind, NdbMailGroupDynamic));
        group->SetField(MailGroupDynamicOn, CNdbFieldValue(NdbValueBool, 1));
        group->SetField(MailGroupServerList270, CNdbFieldValue(u"list-7"));
        for (const char* email : {"a@x.org", "b@x.org", "c@x.org"})
            group->Users().AddUser(User(QString::fromLatin1(email)));
        return group;
    }
};

TEST_F(NdbMailGroupFile, RoundTripWithHeader)
{
    const auto group = Sample();
    group->SetModified(true);
    const QString path = Path("members.kvmg");
    ASSERT_TRUE(group->Save(path, "Kelvora", 2007, 1));
    EXPECT_FALSE(group->IsModified());
    EXPECT_TRUE(NdbTest::ReadAll(path).startsWith(NdbTest::Header("KVM", 2007, 0, "Kelvora", 2007, 1)));

    CNdbMailGroup read;
    read.SetModified(true);
    ASSERT_TRUE(read.Load(path));
    EXPECT_FALSE(read.IsModified());
    EXPECT_EQ(read.GetString(MailGroupName), "Members");
    EXPECT_EQ(read.GetInt(MailGroupKind), NdbMailGroupDynamic);
    EXPECT_TRUE(read.GetBool(MailGroupDynamicOn, false));
    EXPECT_EQ(read.GetString(MailGroupServerList270), "list-7");
    ASSERT_EQ(read.Users().GetCount(), 3);
    EXPECT_EQ(read.Users().GetUserAt(2)->GetString(UserEmail), "c@x.org");
    EXPECT_EQ(NdbTest::WriteRoot(read), NdbTest::WriteRoot(*group));
}

TEST_F(NdbMailGroupFile, AnyTagLoadsButNewerFormatsAreRefused)
{
    const NdbTest::VersionCase cases[] = {
        {"KVM", 2007, 0, true},  {"KVM", 2006, 5, true},  {"whatever", 2007, 0, true},
        {"KVM", 2007, 1, false}, {"KVM", 2008, 0, false},
    };
    const auto group = Sample();
    for (const NdbTest::VersionCase& c : cases)
    {
        SCOPED_TRACE(c.ToString());
        const QString path = Path("versions.kvmg");
        ASSERT_TRUE(NdbTest::WriteWithHeader(path, c.ToHeader(), *group));
        CNdbMailGroup read;
        EXPECT_EQ(read.Load(path), c.accepted);
        EXPECT_EQ(read.Users().GetCount(), c.accepted ? 3 : 0);
    }
}

TEST_F(NdbMailGroupFile, DamagedFileLeavesTheListAsItWas)
{
    const QString good = Path("good.kvmg");
    ASSERT_TRUE(Sample()->Save(good, {}, 0, 0));
    const QByteArray bytes = NdbTest::ReadAll(good);
    const QString damaged = Path("damaged.kvmg");
    NdbTest::ForEachCut(damaged, bytes,
                        [&damaged](qsizetype)
                        {
                            CNdbMailGroup read(QStringLiteral("Mine"));
                            Add(read.Users(), "mine@x.org");
                            read.SetModified(true);
                            ASSERT_FALSE(read.Load(damaged));
                            EXPECT_EQ(read.GetString(MailGroupName), "Mine");
                            ASSERT_EQ(read.Users().GetCount(), 1);
                            EXPECT_TRUE(read.IsModified());
                        });
    CNdbMailGroup missing;
    EXPECT_FALSE(missing.Load(Path("none.kvmg")));
}

TEST(NdbMailGroup, TypeCheckAndPath)
{
    CNdbMailGroup group;
    EXPECT_EQ(group.GetKind(), NdbKindMailGroup);
    EXPECT_TRUE(group.GetFields().empty());
    EXPECT_FALSE(group.SetField(MailGroupKind, CNdbFieldValue(NdbValueInt, 1)));
    EXPECT_TRUE(group.SetField(MailGroupKind, CNdbFieldValue(NdbValueMailGroupKind, 0)));
    EXPECT_FALSE(group.SetField(MailGroupAutoUpdate, CNdbFieldValue(u"yes")));
    EXPECT_TRUE(group.SetField(MailGroupAutoUpdate, CNdbFieldValue(NdbValueBool, 1)));
    EXPECT_TRUE(group.SetField(MailGroupPath, CNdbFieldValue(u"/home/u/Members.kvmg")));
    EXPECT_EQ(group.GetPath(), "/home/u/Members.kvmg");
}
