#include "ndb/NdbShortcuts.h"
#include "ndb/NdbUser.h"

#include "ndb/NdbFileHelpers.h"

#include <gtest/gtest.h>

using namespace ndb;
using NdbTest::Int;

namespace
{
std::unique_ptr<CNdbShortcutLink> Link(const QString& target, int type = NdbKindNewsletter)
{
    return std::make_unique<CNdbShortcutLink>(target.section(u'/', -1), target, type);
}

QStringList Targets(const CNdbFolder& folder)
{
    QStringList targets;
    for (const auto& item : folder.GetItems())
        targets << item->GetPath();
    return targets;
}

// Newsletters: a.kvnl, then folder "Work" holding folder "Old" holding deep.kvnl and b.kvnl.
void FillSample(CNdbShortcuts& store)
{
    CNdbFolder& letters = store.Newsletters();
    letters.AddItem(Link("/docs/a.kvnl"));
    auto work = std::make_unique<CNdbFolder>(QStringLiteral("Work"));
    auto old = std::make_unique<CNdbFolder>(QStringLiteral("Old"));
    old->AddItem(Link("/docs/deep.kvnl"));
    work->AddItem(std::move(old));
    work->AddItem(Link("/docs/b.kvnl"));
    letters.AddItem(std::move(work));
    store.MailingLists().AddItem(Link("/docs/club.kvmg", NdbKindMailGroup));
    store.AddRecentLink(Link("/docs/b.kvnl"));
    store.AddRecentLink(Link("/docs/club.kvmg", NdbKindMailGroup));
}
} // namespace

TEST(NdbShortcutLink, StoresOnlyWhatIsGiven)
{
    const CNdbShortcutLink bare;
    EXPECT_EQ(bare.GetKind(), NdbKindShortcutLink);
    EXPECT_TRUE(bare.GetFields().empty());

    const CNdbShortcutLink list(QStringLiteral("Club"), QStringLiteral("/d/club.kvmg"), NdbKindMailGroup);
    CNdbFieldValue type;
    ASSERT_TRUE(list.GetField(ShortcutLinkType, type));
    EXPECT_EQ(type.GetType(), NdbValueShortcutLinkType);
    EXPECT_EQ(type.GetInt(), 7);
    EXPECT_EQ(list.GetName(), "Club");
    EXPECT_EQ(list.GetPath(), "/d/club.kvmg");

    const CNdbShortcutLink untyped(QStringLiteral("x"), QStringLiteral("/x"), 0);
    EXPECT_FALSE(untyped.GetField(ShortcutLinkType, type));
    const CNdbShortcutLink copy(list);
    EXPECT_EQ(copy.GetFields().size(), 3u);
}

TEST(NdbFolder, InsertDeleteDetachOnlyTouchDirectItems)
{
    CNdbFolder folder(QStringLiteral("Top"));
    EXPECT_EQ(folder.GetName(), "Top");
    folder.AddItem(Link("/a"));
    folder.InsertItem(Link("/front"), 0);
    folder.InsertItem(Link("/end"), folder.GetCount());
    folder.InsertItem(Link("/beyond"), 99);
    EXPECT_EQ(Targets(folder), QStringList({"/front", "/a", "/end", "/beyond"}));

    auto sub = std::make_unique<CNdbFolder>();
    sub->AddItem(Link("/inner"));
    const CNdbBase* inner = sub->GetItemAt(0);
    folder.AddItem(std::move(sub));
    folder.DeleteItem(inner);
    EXPECT_EQ(folder.DetachItem(inner), nullptr);
    EXPECT_EQ(folder.IndexOf(inner), -1);

    const CNdbBase* a = folder.GetItemAt(1);
    std::unique_ptr<CNdbBase> detached = folder.DetachItem(a);
    EXPECT_EQ(detached.get(), a);
    folder.DeleteItemAt(0);
    folder.DeleteItemAt(10);
    EXPECT_EQ(Targets(folder), QStringList({"/end", "/beyond", ""}));
    folder.DeleteAllItems();
    EXPECT_EQ(folder.GetCount(), 0);
}

TEST(NdbFolder, FindParentOfSearchesDepthFirst)
{
    CNdbShortcuts store;
    FillSample(store);
    CNdbFolder& letters = store.Newsletters();
    auto* work = dynamic_cast<CNdbFolder*>(letters.GetItemAt(1));
    ASSERT_NE(work, nullptr);
    auto* old = dynamic_cast<CNdbFolder*>(work->GetItemAt(0));
    ASSERT_NE(old, nullptr);

    EXPECT_EQ(letters.FindParentOf(letters.GetItemAt(0)), &letters);
    EXPECT_EQ(letters.FindParentOf(old->GetItemAt(0)), old);
    EXPECT_EQ(letters.FindParentOf(work->GetItemAt(1)), work);
    CNdbShortcutLink stranger;
    EXPECT_EQ(letters.FindParentOf(&stranger), nullptr);
    EXPECT_EQ(letters.FindParentOf(store.Recent().GetItemAt(0)), nullptr);
}

TEST(NdbShortcuts, FindLinkByTargetIsExactAndPrefersEarlierItems)
{
    CNdbShortcuts store;
    FillSample(store);
    CNdbFolder& letters = store.Newsletters();
    const CNdbShortcutLink* deep = CNdbShortcuts::FindLinkByTarget("/docs/deep.kvnl", letters);
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->GetName(), "deep.kvnl");
    EXPECT_EQ(CNdbShortcuts::FindLinkByTarget("/docs/DEEP.kvnl", letters), nullptr);

    // A second link to b.kvnl before the folder wins over the one inside it.
    auto earlier = Link("/docs/b.kvnl");
    const CNdbShortcutLink* first = earlier.get();
    letters.InsertItem(std::move(earlier), 1);
    EXPECT_EQ(CNdbShortcuts::FindLinkByTarget("/docs/b.kvnl", letters), first);
    EXPECT_EQ(CNdbShortcuts::FindLinkByTarget("/docs/none.kvnl", letters), nullptr);
}

TEST(NdbShortcuts, RecentListKeepsTheFiveNewest)
{
    CNdbShortcuts store;
    for (int i = 1; i <= 6; ++i)
        EXPECT_TRUE(store.AddRecentLink(Link(QStringLiteral("/d/%1.kvnl").arg(i))));
    EXPECT_EQ(Targets(store.Recent()),
              QStringList({"/d/6.kvnl", "/d/5.kvnl", "/d/4.kvnl", "/d/3.kvnl", "/d/2.kvnl"}));
    store.AddRecentLink(Link("/d/4.kvnl"));
    EXPECT_EQ(Targets(store.Recent()),
              QStringList({"/d/4.kvnl", "/d/6.kvnl", "/d/5.kvnl", "/d/3.kvnl", "/d/2.kvnl"}));
    store.AddRecentLink(Link("/d/6.KVNL"));
    EXPECT_EQ(Targets(store.Recent()),
              QStringList({"/d/6.KVNL", "/d/4.kvnl", "/d/6.kvnl", "/d/5.kvnl", "/d/3.kvnl"}));
}

TEST(NdbShortcuts, FolderHoldingAnotherRecordFailsTheRead)
{
    CNdbUser user;
    const QByteArray bytes = Int(NdbKindFolder) + Int(0) + Int(1) + NdbTest::WriteObject(&user);
    CNdbFolder folder;
    EXPECT_FALSE(NdbTest::ReadRoot(bytes, folder));

    // A link that claims to be a folder stays a link.
    CNdbShortcutLink link(QStringLiteral("x"), QStringLiteral("/x"), 1);
    QByteArray linkObject = NdbTest::WriteObject(&link);
    const QByteArray kind = Int(NdbKindShortcutLink);
    linkObject.replace(linkObject.indexOf(kind), 4, Int(NdbKindFolder));
    CNdbFolder read;
    ASSERT_TRUE(NdbTest::ReadRoot(Int(NdbKindFolder) + Int(0) + Int(1) + linkObject, read));
    EXPECT_EQ(read.GetItemAt(0)->GetKind(), NdbKindShortcutLink);
    CNdbShortcutLink stranger;
    EXPECT_EQ(read.FindParentOf(&stranger), nullptr);
    EXPECT_EQ(CNdbShortcuts::FindLinkByTarget("/x", read), read.GetItemAt(0));
}

class NdbShortcutsFile : public NdbTest::FileTest
{
};

TEST_F(NdbShortcutsFile, RoundTripWithHeader)
{
    CNdbShortcuts store;
    FillSample(store);
    const QString path = Path("newsletter.kvsc");
    ASSERT_TRUE(store.Save(path, "Kelvora"));
    EXPECT_TRUE(NdbTest::ReadAll(path).startsWith(NdbTest::Header("KVSC", 2007, 1, "Kelvora", 2007, 1)));

    CNdbShortcuts read;
    ASSERT_TRUE(read.Load(path));
    EXPECT_EQ(NdbTest::WriteRoot(read), NdbTest::WriteRoot(store));
    EXPECT_EQ(Targets(read.Recent()), QStringList({"/docs/club.kvmg", "/docs/b.kvnl"}));
    EXPECT_NE(CNdbShortcuts::FindLinkByTarget("/docs/deep.kvnl", read.Newsletters()), nullptr);
}

TEST_F(NdbShortcutsFile, TagAndVersionDecide)
{
    const NdbTest::VersionCase cases[] = {
        {"KVSC", 2007, 1, true},  {"KVSC", 2007, 0, true}, {"KVSC", 2006, 9, true},  {"KVSC", 2007, 2, false},
        {"KVSC", 2008, 0, false}, {"KVN", 2007, 1, false}, {"kvsc", 2007, 1, false},
    };
    CNdbShortcuts store;
    FillSample(store);
    for (const NdbTest::VersionCase& c : cases)
    {
        SCOPED_TRACE(c.ToString());
        const QString path = Path("versions.kvsc");
        ASSERT_TRUE(NdbTest::WriteWithHeader(path, c.ToHeader(), store));
        CNdbShortcuts read;
        EXPECT_EQ(read.Load(path), c.accepted);
        EXPECT_EQ(read.Newsletters().GetCount(), c.accepted ? 2 : 0);
        // Before 2007.1 there is no recent list.
        const bool hasRecent = c.accepted && (c.major == 2007 && c.minor == 1);
        EXPECT_EQ(read.Recent().GetCount(), hasRecent ? 2 : 0);
    }
}

TEST_F(NdbShortcutsFile, OldFormatGainsTheRecentListWhenSaved)
{
    CNdbShortcuts store;
    FillSample(store);
    const QString path = Path("newsletter.kvsc");
    ASSERT_TRUE(NdbTest::WriteWithHeader(path, {"KVSC", 2007, 0, {}, 0, 0}, store));
    CNdbShortcuts read;
    ASSERT_TRUE(read.Load(path));
    EXPECT_EQ(read.Recent().GetCount(), 0);
    read.AddRecentLink(Link("/docs/a.kvnl"));
    ASSERT_TRUE(read.Save(path, "Kelvora"));
    EXPECT_TRUE(NdbTest::ReadAll(path).startsWith(NdbTest::Header("KVSC", 2007, 1, "Kelvora", 2007, 1)));
    CNdbShortcuts again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(Targets(again.Recent()), QStringList({"/docs/a.kvnl"}));
}

TEST_F(NdbShortcutsFile, UnreadableStoreIsNeitherHalfReadNorWrittenOver)
{
    CNdbShortcuts store;
    FillSample(store);
    const QString path = Path("newsletter.kvsc");
    ASSERT_TRUE(store.Save(path, "Kelvora"));
    const QByteArray good = NdbTest::ReadAll(path);

    // Cut inside the mailing-lists folder: the newsletters folder would be complete by then.
    const QByteArray cut = good.left(good.size() - 40);
    ASSERT_TRUE(NdbTest::WriteAll(path, cut));
    CNdbShortcuts read;
    EXPECT_FALSE(read.Load(path));
    EXPECT_EQ(read.Newsletters().GetCount(), 0);
    EXPECT_EQ(read.MailingLists().GetCount(), 0);

    // The program goes on with an empty store; what it changes is not saved over the file.
    read.AddRecentLink(Link("/docs/new.kvnl"));
    EXPECT_FALSE(read.Save(path, "Kelvora"));
    EXPECT_EQ(NdbTest::ReadAll(path), cut);
    EXPECT_TRUE(read.Save(Path("elsewhere.kvsc"), "Kelvora"));

    // A missing file is no reason to hold back.
    CNdbShortcuts fresh;
    EXPECT_FALSE(fresh.Load(Path("missing.kvsc")));
    EXPECT_TRUE(fresh.Save(Path("missing.kvsc"), "Kelvora"));
}

TEST_F(NdbShortcutsFile, EveryCutOfTheFileIsRefused)
{
    CNdbShortcuts store;
    FillSample(store);
    const QString path = Path("newsletter.kvsc");
    ASSERT_TRUE(store.Save(path, "Kelvora"));
    const QByteArray bytes = NdbTest::ReadAll(path);
    const QString damaged = Path("damaged.kvsc");
    NdbTest::ForEachCut(damaged, bytes,
                        [&damaged](qsizetype)
                        {
                            CNdbShortcuts read;
                            read.AddRecentLink(Link("/mine.kvnl"));
                            ASSERT_FALSE(read.Load(damaged));
                            EXPECT_EQ(Targets(read.Recent()), QStringList({"/mine.kvnl"}));
                            EXPECT_EQ(read.Newsletters().GetCount(), 0);
                        });
}
