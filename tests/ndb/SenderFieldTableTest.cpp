#include "ndb/SenderFieldTable.h"
#include "ndb/NdbSender.h"

#include <gtest/gtest.h>

using namespace ndb;

namespace
{
struct TagCase
{
    int id;
    NdbValueType accepted;
};

const TagCase TagCases[] = {
    {100, NdbValueSenderKind}, {101, NdbValueInt},  {201, NdbValueInt},  {205, NdbValueInt},
    {206, NdbValueInt},        {222, NdbValueInt},  {240, NdbValueInt},  {424, NdbValueInt},
    {425, NdbValueInt},        {202, NdbValueBool}, {207, NdbValueBool}, {220, NdbValueBool},
    {426, NdbValueBool},       {644, NdbValueBool}, {810, NdbValueBool}, {811, NdbValueBool},
    {812, NdbValueBool},       {830, NdbValueBool}, {900, NdbValueBool}, {901, NdbValueBool},
    {1, NdbValueText},         {102, NdbValueText}, {204, NdbValueText}, {300, NdbValueText},
    {800, NdbValueText},       {822, NdbValueText}, {999, NdbValueText},
};

CNdbFieldValue ValueOf(NdbValueType tag)
{
    return tag == NdbValueText ? CNdbFieldValue(QStringLiteral("x")) : CNdbFieldValue(tag, 1);
}
} // namespace

TEST(SenderFieldTable, RecordAcceptsEachFieldOnlyWithItsTag)
{
    const NdbValueType tags[] = {NdbValueBool, NdbValueInt, NdbValueText, NdbValueIntCode,
                                 NdbValueSenderKind};
    for (const TagCase& c : TagCases)
    {
        for (const NdbValueType tag : tags)
        {
            CNdbSender sender;
            EXPECT_EQ(sender.SetField(c.id, ValueOf(tag)), tag == c.accepted);
            CNdbFieldValue stored;
            EXPECT_EQ(sender.GetField(c.id, stored), tag == c.accepted) << "field " << c.id << " tag " << tag;
        }
    }
}

TEST(SenderFieldTable, PagesAndEngineReadMissingFieldsDifferentlyOnlyForTheThrottle)
{
    EXPECT_EQ(SenderPageDefault(SenderPauseAfter), 5);
    EXPECT_EQ(SenderPageDefault(SenderPauseSeconds), 1);
    EXPECT_EQ(FindSenderField(SenderPauseAfter)->engineDefault, 0);
    EXPECT_EQ(FindSenderField(SenderPauseSeconds)->engineDefault, 0);
    for (const SenderFieldInfo& field : SenderFields())
    {
        if (field.id != SenderPauseAfter && field.id != SenderPauseSeconds)
        {
            EXPECT_EQ(field.pageDefault, field.engineDefault) << field.id;
        }
    }
    EXPECT_EQ(SenderPageDefault(SenderRelayPort), 25);
    EXPECT_EQ(SenderPageDefault(SenderPop3Port), 110);
    EXPECT_EQ(SenderPageDefault(SenderThreads), 1);
    EXPECT_EQ(FindSenderField(777), nullptr);
}
