#include "ndb/NdbFieldBase.h"
#include "ndb/NdbBase.h"

#include "ndb/NdbArchiveHelpers.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>

using namespace ndb;
using NdbTest::Int;
using NdbTest::Text;

namespace
{
enum TESTFIELDS
{
    TestLength = 210,
    TestFlag = 1,
};

// A record that takes a length under 210, a bool under 1 and a text under every other id.
class CTestRecord : public CNdbFieldBase<TESTFIELDS>
{
public:
    CTestRecord() : CNdbFieldBase(NdbKindStyle) {}

    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override
    {
        if (id == TestLength)
            return value.GetType() == NdbValueLength;
        if (id == TestFlag)
            return value.GetType() == NdbValueBool;
        return value.GetType() == NdbValueText;
    }
};

CTestRecord Loaded(const QByteArray& bytes, bool expectOk = true)
{
    CTestRecord record;
    record.SetField(999, CNdbFieldValue(u"stale"));
    EXPECT_EQ(NdbTest::ReadRoot(bytes, record), expectOk);
    return record;
}
} // namespace

TEST(NdbBase, BareRecordHasKindZeroAndPlaceholderName)
{
    CNdbBase base;
    EXPECT_EQ(base.GetKind(), NdbKindBase);
    EXPECT_EQ(base.GetName(), "<no name>");
    EXPECT_TRUE(base.GetPath().isEmpty());
    EXPECT_EQ(base.GetClassName(), "CNdbBase");
    EXPECT_EQ(base.GetClassKey(), 1);
}

TEST(NdbBase, ArchivesKindAndIsRecreatedByName)
{
    CNdbBase base(NdbKindFolder);
    EXPECT_EQ(NdbTest::WriteRoot(base), Int(6));
    const std::unique_ptr<CNdbBase> read = NdbTest::ReadObject<CNdbBase>(NdbTest::WriteObject(&base));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetKind(), NdbKindFolder);
}

TEST(NdbBase, GuidStringsAreRegistryFormAndUnique)
{
    const QRegularExpression form(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    std::set<QString> seen;
    for (int i = 0; i < 100; ++i)
    {
        const QString guid = CNdbBase::CreateGuidString();
        EXPECT_EQ(guid.size(), 38);
        EXPECT_TRUE(form.match(guid).hasMatch()) << guid.toStdString();
        EXPECT_TRUE(seen.insert(guid).second);
    }
}

TEST(NdbFieldBase, NewRecordArchivesKindAndNoFields)
{
    CTestRecord record;
    EXPECT_EQ(NdbTest::WriteRoot(record), Int(12) + Int(0));
}

TEST(NdbFieldBase, FieldsArchiveInAscendingIdOrder)
{
    CTestRecord record;
    EXPECT_TRUE(record.SetField(300, CNdbFieldValue(u"b")));
    EXPECT_TRUE(record.SetField(100, CNdbFieldValue(u"Normal")));
    EXPECT_TRUE(record.SetField(TestLength, CNdbFieldValue(12.5f, NdbUnitPx)));
    const QByteArray bytes = NdbTest::WriteRoot(record);
    EXPECT_EQ(bytes, Int(12) + Int(3) + Int(100) + Int(3) + Text("Normal") + Int(210) + Int(200) +
                         Int(0x41480000) + Int(1) + Int(300) + Int(3) + Text("b"));

    const CTestRecord read = Loaded(bytes);
    EXPECT_EQ(read.GetKind(), NdbKindStyle);
    ASSERT_EQ(read.GetFields().size(), 3u);
    EXPECT_EQ(read.GetString(100), "Normal");
    EXPECT_EQ(NdbTest::WriteRoot(const_cast<CTestRecord&>(read)), bytes);
}

TEST(NdbFieldBase, LoadingReplacesEveryFieldButKeepsTheKind)
{
    const CTestRecord read = Loaded(Int(4) + Int(1) + Int(100) + Int(3) + Text("x"));
    EXPECT_EQ(read.GetKind(), NdbKindStyle);
    EXPECT_EQ(read.GetFields().size(), 1u);
    EXPECT_TRUE(read.GetString(999).isEmpty());
}

TEST(NdbFieldBase, RepeatedIdLoadsLaterValue)
{
    const CTestRecord read =
        Loaded(Int(12) + Int(2) + Int(100) + Int(3) + Text("first") + Int(100) + Int(3) + Text("second"));
    EXPECT_EQ(read.GetString(100), "second");
    EXPECT_EQ(read.GetFields().size(), 1u);
}

TEST(NdbFieldBase, FieldsListedOutOfOrderLoadIntoIdOrder)
{
    CTestRecord read = Loaded(Int(12) + Int(4) + Int(300) + Int(3) + Text("c") + Int(100) + Int(3) +
                              Text("a") + Int(200) + Int(3) + Text("b") + Int(100) + Int(3) + Text("A"));
    EXPECT_EQ(NdbTest::WriteRoot(read), Int(12) + Int(3) + Int(100) + Int(3) + Text("A") + Int(200) + Int(3) +
                                            Text("b") + Int(300) + Int(3) + Text("c"));
    read.RemoveField(200);
    EXPECT_EQ(read.GetString(300), "c");
    EXPECT_TRUE(read.GetString(200).isEmpty());
    EXPECT_EQ(read.GetFields().size(), 2u);
}

TEST(NdbFieldBase, LoadingBypassesTheTypeCheck)
{
    CTestRecord read = Loaded(Int(12) + Int(1) + Int(TestLength) + Int(3) + Text("12px"));
    CNdbFieldValue value;
    ASSERT_TRUE(read.GetField(TestLength, value));
    EXPECT_EQ(value.GetType(), NdbValueText);
    EXPECT_EQ(read.GetString(TestLength), "12px");

    EXPECT_FALSE(read.SetField(TestLength, CNdbFieldValue(u"13px")));
    EXPECT_TRUE(read.SetField(TestLength, CNdbFieldValue(13.0f, NdbUnitPx)));
    EXPECT_TRUE(read.GetString(TestLength).isEmpty());
}

TEST(NdbFieldBase, RefusedStoreKeepsPreviousValue)
{
    CTestRecord record;
    ASSERT_TRUE(record.SetField(TestLength, CNdbFieldValue(10.0f, NdbUnitPt)));
    EXPECT_FALSE(record.SetField(TestLength, CNdbFieldValue(u"big")));
    EXPECT_FALSE(record.SetField(TestLength, CNdbFieldValue(NdbValueInt, 3)));
    CNdbFieldValue value;
    ASSERT_TRUE(record.GetField(TestLength, value));
    EXPECT_EQ(value.FormatLength(), "10pt");
    EXPECT_FALSE(record.SetField(500, CNdbFieldValue(NdbValueInt, 1)));
    EXPECT_FALSE(record.GetField(500, value));
    EXPECT_EQ(value.FormatLength(), "10pt");
}

TEST(NdbFieldBase, AbsentFieldsReadAsDefaults)
{
    CTestRecord record;
    EXPECT_EQ(record.GetInt(5), 0);
    EXPECT_EQ(record.GetInt(5, 7), 7);
    EXPECT_TRUE(record.GetBool(5, true));
    EXPECT_FALSE(record.GetBool(5, false));
    EXPECT_TRUE(record.GetString(5).isEmpty());
    record.RemoveField(5);
    EXPECT_TRUE(record.GetFields().empty());
}

TEST(NdbFieldBase, TypedGettersReadPayloadWhateverTheType)
{
    CTestRecord record;
    record.FieldRef(20) = CNdbFieldValue(NdbValueTextAlign, 2);
    record.FieldRef(21) = CNdbFieldValue(NdbValueBool, 1);
    record.SetField(22, CNdbFieldValue(u"text"));
    EXPECT_EQ(record.GetInt(20), 2);
    EXPECT_TRUE(record.GetString(20).isEmpty());
    EXPECT_TRUE(record.GetBool(21, false));
    EXPECT_EQ(record.GetInt(22, 9), 0);
    EXPECT_EQ(record.FieldRef(23).GetType(), NdbValueInt);
    EXPECT_EQ(record.GetFields().size(), 4u);
}

TEST(NdbFieldBase, NameFieldIs110)
{
    CTestRecord record;
    EXPECT_TRUE(record.SetNameValue(CNdbFieldValue(u"Spring issue")));
    CNdbFieldValue name;
    ASSERT_TRUE(record.TryGetName(name));
    EXPECT_EQ(name.GetString(), "Spring issue");
    EXPECT_EQ(record.GetString(110), "Spring issue");
}

TEST(NdbFieldBase, CopiesAreDeepAndSelfAssignmentKeepsFields)
{
    CTestRecord record;
    record.SetField(100, CNdbFieldValue(u"a"));
    CTestRecord copy(record);
    record.SetField(100, CNdbFieldValue(u"b"));
    EXPECT_EQ(copy.GetString(100), "a");

    CTestRecord other;
    other.SetField(200, CNdbFieldValue(u"gone"));
    other = copy;
    EXPECT_EQ(other.GetFields().size(), 1u);
    EXPECT_EQ(other.GetString(100), "a");

    const CTestRecord& alias = other;
    other = alias;
    EXPECT_EQ(other.GetString(100), "a");
}

TEST(NdbFieldBase, DamagedArchivesFailCleanly)
{
    CTestRecord record;
    record.SetField(100, CNdbFieldValue(u"Normal"));
    record.SetField(TestLength, CNdbFieldValue(1.0f, NdbUnitEm));
    const QByteArray bytes = NdbTest::WriteRoot(record);
    for (qsizetype size = 0; size < bytes.size(); ++size)
        Loaded(bytes.left(size), false);
    Loaded(Int(12) + Int(-1), false);
    Loaded(Int(12) + Int(0x7FFFFFFF) + Int(100) + Int(1) + Int(0), false);
}
