#include "recipients/KVImportOutlook.h"
#include "ndb/NdbUserList.h"

#include <gtest/gtest.h>

namespace
{
QString DataPath(const QString& name)
{
    return QStringLiteral(KV_TEST_DATA_DIR "/vcard/") + name;
}

// Imports through the source as the import command does, the picker answering with the path.
bool ImportFrom(const QString& path, ndb::CNdbUserList& users)
{
    CKVImportOutlook source([path] { return path; });
    return source.Import(users);
}

QStringList Column(const ndb::CNdbUserList& users, int code)
{
    QStringList texts;
    for (const auto& user : users.GetUsers())
        texts << user->GetString(code);
    return texts;
}
} // namespace

TEST(KVImportOutlook, FolderReadsItsCardFilesInNameOrder)
{
    ndb::CNdbUserList users;
    ASSERT_TRUE(ImportFrom(DataPath(QStringLiteral("folder")), users));
    ASSERT_EQ(users.GetCount(), 2);
    const ndb::CNdbUser& anna = *users.GetUserAt(0);
    const std::pair<int, const char*> expected[] = {
        {110, "anna@berg.example"},
        {120, "Leiterin, Vertrieb"},
        {130, "Anna"},
        {140, "Maria"},
        {150, "Berg"},
        {160, "PhD"},
        {170, "Berg & S\u00F6hne"},
        {180, "Vertrieb"},
        {190, "+49 30 1111"},
        {200, "+49 30 2222"},
        {210, "+49 170 3333"},
        {220, "+49 30 4444"},
        {230, "Hauptstra\u00DFe 5\nHof 2"},
        {240, "Berlin"},
        {250, "BE"},
        {260, "10115"},
        {270, "Deutschland"},
        {280, "https://berg.example"},
        {290, ""},
    };
    for (const auto& [code, text] : expected)
        EXPECT_EQ(anna.GetString(code), QString::fromUtf8(text)) << code;
    for (int code = 110; code <= 320; code += 10)
        EXPECT_NE(anna.GetFields().find(code), anna.GetFields().end()) << code;
    EXPECT_FALSE(anna.GetString(100).isEmpty());
    EXPECT_EQ(anna.GetFields().find(700), anna.GetFields().end());
    // No valid address, but the display name carries one in parentheses.
    EXPECT_EQ(users.GetUserAt(1)->GetString(110), QStringLiteral("bob@brown.example"));
}

TEST(KVImportOutlook, MultiCardFileKeepsContactsWithoutAddress)
{
    ndb::CNdbUserList users;
    ASSERT_TRUE(ImportFrom(DataPath(QStringLiteral("multi.vcf")), users));
    EXPECT_EQ(Column(users, 150), QStringList({"One", "Two", "Three"}));
    EXPECT_EQ(Column(users, 110), QStringList({"first@example.com", "", "third@example.com"}));
}

TEST(KVImportOutlook, Version21QuotedPrintableInWindows1252)
{
    ndb::CNdbUserList users;
    ASSERT_TRUE(ImportFrom(DataPath(QStringLiteral("v21-qp-1252.vcf")), users));
    ASSERT_EQ(users.GetCount(), 1);
    const ndb::CNdbUser& user = *users.GetUserAt(0);
    EXPECT_EQ(user.GetString(150), QStringLiteral("M\u00FCller"));
    EXPECT_EQ(user.GetString(130), QStringLiteral("J\u00FCrgen"));
    EXPECT_EQ(user.GetString(170), QStringLiteral("Caf\u00E9 \u20ACuro"));
    EXPECT_EQ(user.GetString(230), QStringLiteral("Stra\u00DFe 1\r\nHinterhaus"));
    EXPECT_EQ(user.GetString(240), QStringLiteral("K\u00F6ln"));
    EXPECT_EQ(user.GetString(190), QStringLiteral("0221 123"));
    EXPECT_EQ(user.GetString(210), QStringLiteral("0171 456"));
    EXPECT_EQ(user.GetString(110), QStringLiteral("juergen@mueller.example"));
}

TEST(KVImportOutlook, ListCardBetweenContactsIsPassedOver)
{
    ndb::CNdbUserList users;
    ASSERT_TRUE(ImportFrom(DataPath(QStringLiteral("evolution.vcf")), users));
    EXPECT_EQ(Column(users, 110), QStringList({"carla@diaz.example", "eva@ek.example"}));
}

TEST(KVImportOutlook, CancelledOrMissingSourceImportsNothing)
{
    ndb::CNdbUserList users;
    EXPECT_FALSE(ImportFrom(QString(), users));
    EXPECT_FALSE(ImportFrom(DataPath(QStringLiteral("missing.vcf")), users));
    EXPECT_EQ(users.GetCount(), 0);
}

TEST(VCardReader, CardsKindsAndNesting)
{
    QList<VCard> cards;
    ASSERT_TRUE(
        ReadVCards("BEGIN:VCARD\nVERSION:4.0\nKIND:group\nFN:G\nEND:VCARD\n"
                   "BEGIN:VCARD\nVERSION:2.1\nN:A;B\nAGENT:BEGIN:VCARD\nBEGIN:VCARD\nN:Inner;X\nEND:VCARD\n"
                   "TEL;HOME:1\nEND:VCARD\n",
                   cards));
    ASSERT_EQ(cards.size(), 2);
    EXPECT_FALSE(cards[0].IsContact());
    EXPECT_TRUE(cards[1].IsContact());
    EXPECT_EQ(cards[1].Components(*cards[1].Find(QStringLiteral("N"))), QStringList({"A", "B"}));
    EXPECT_TRUE(cards[1].Find(QStringLiteral("TEL")));
}
