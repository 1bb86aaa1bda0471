#include "ndb/NdbFolder.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbLogEntry.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbSender.h"
#include "ndb/NdbShortcutLink.h"
#include "ndb/NdbShortcuts.h"
#include "ndb/NdbStyle.h"
#include "ndb/NdbUser.h"
#include "ndb/NdbUserList.h"

#include "ndb/NdbArchiveHelpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace ndb;
using NdbTest::Int;

// Code tells records apart by kind and casts by it, so a record read from a file that names
// another kind must stay of its own kind, and write that kind back.
TEST(NdbRecordKind, FileCannotChangeTheKindOfAnyRecordClass)
{
    const struct
    {
        const char* name;
        int kind;
        std::function<std::unique_ptr<CNdbBase>()> make;
    } cases[] = {
        {"newsletter", NdbKindNewsletter, [] { return std::make_unique<CNdbNewsletter>(); }},
        {"layout", NdbKindLayout, [] { return std::make_unique<CNdbLayout>(); }},
        {"user list", NdbKindUserList, [] { return std::make_unique<CNdbUserList>(); }},
        {"user", NdbKindUser, [] { return std::make_unique<CNdbUser>(); }},
        {"sender", NdbKindSender, [] { return std::make_unique<CNdbSender>(); }},
        {"folder", NdbKindFolder, [] { return std::make_unique<CNdbFolder>(); }},
        {"mailing list", NdbKindMailGroup, [] { return std::make_unique<CNdbMailGroup>(); }},
        {"palette", NdbKindPalette, [] { return std::make_unique<CNdbPalette>(); }},
        {"shortcuts", NdbKindShortcuts, [] { return std::make_unique<CNdbShortcuts>(); }},
        {"shortcut link", NdbKindShortcutLink, [] { return std::make_unique<CNdbShortcutLink>(); }},
        {"style", NdbKindStyle, [] { return std::make_unique<CNdbStyle>(); }},
        {"resource", NdbKindResource, [] { return std::make_unique<CNdbResource>(); }},
        {"send-log entry", NdbKindBase, [] { return std::make_unique<CNdbLogEntry>(); }},
    };
    for (const auto& record : cases)
    {
        SCOPED_TRACE(record.name);
        const std::unique_ptr<CNdbBase> written = record.make();
        ASSERT_EQ(written->GetKind(), record.kind);
        const QByteArray bytes = NdbTest::WriteRoot(*written);
        ASSERT_EQ(bytes.left(4), Int(record.kind));
        for (const auto& other : cases)
        {
            if (other.kind == record.kind)
                continue;
            const std::unique_ptr<CNdbBase> read = record.make();
            ASSERT_TRUE(NdbTest::ReadRoot(Int(other.kind) + bytes.mid(4), *read)) << other.name;
            EXPECT_EQ(read->GetKind(), record.kind) << other.name;
            EXPECT_EQ(NdbTest::WriteRoot(*read).left(4), Int(record.kind)) << other.name;
        }
    }
}
