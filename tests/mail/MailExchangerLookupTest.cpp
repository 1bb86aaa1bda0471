#include "mail/KVSmtpServer.h"
#include "peers/DnsmasqServer.h"
#include "platform/net/DnsQuery.h"

#include <QFile>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <set>
#include <unistd.h>

namespace
{
class MailExchangerLookup : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dns = new DnsmasqServer({
            "local=/test/",
            "mx-host=example.test,mx20.example.test,20",
            "mx-host=example.test,first10.example.test,10",
            "mx-host=example.test,second10.example.test,10",
            "host-record=mx20.example.test,127.0.0.20",
            "host-record=first10.example.test,127.0.0.11",
            "host-record=second10.example.test,127.0.0.12",
            "host-record=addressonly.test,127.0.0.30",
            "txt-record=textonly.test,\"no mail here\"",
            "mx-host=lostexchanger.test,nowhere.test,10",
        });
    }

    static void TearDownTestSuite()
    {
        delete s_dns;
        s_dns = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_dns->IsRunning()) << s_dns->Log().toStdString();
        UseServer(s_dns->Port());
    }

    void TearDown() override { DnsQuery::SetNameServerForTesting(QString(), 53, 0, 0); }

    static void UseServer(int port)
    {
        DnsQuery::SetNameServerForTesting(QStringLiteral("127.0.0.1"), port, 1, 1);
    }

    static DnsmasqServer* s_dns;
};

DnsmasqServer* MailExchangerLookup::s_dns = nullptr;

TEST_F(MailExchangerLookup, LowestPreferenceWinsAndOfEqualOnesTheLastListed)
{
    std::vector<DnsQuery::MxRecord> records;
    ASSERT_EQ(DnsQuery::QueryMx(QStringLiteral("example.test"), records), DnsQuery::Status::Ok);
    ASSERT_EQ(records.size(), 3u);
    QString lastListedTen;
    std::multiset<int> preferences;
    for (const DnsQuery::MxRecord& record : records)
    {
        preferences.insert(record.preference);
        if (record.preference == 10)
            lastListedTen = record.exchange;
    }
    EXPECT_EQ(preferences, (std::multiset<int>{10, 10, 20}));
    const QString expected =
        lastListedTen == QLatin1String("first10.example.test") ? "127.0.0.11" : "127.0.0.12";

    CKVSmtpServer engine;
    QString host;
    ASSERT_TRUE(engine.LookUpMailExchanger(QStringLiteral("example.test"), host));
    EXPECT_EQ(host, expected);
    EXPECT_EQ(engine.FindCachedMailExchanger(QStringLiteral("example.test")), expected);
}

TEST_F(MailExchangerLookup, DomainsWithoutAnExchangerFailAndAreNotRemembered)
{
    struct Case
    {
        const char* domain;
        DnsQuery::Status status;
    };
    for (const Case& c :
         {Case{"textonly.test", DnsQuery::Status::NoRecords},
          Case{"unknown.test", DnsQuery::Status::NameError}, Case{"lostexchanger.test", DnsQuery::Status::Ok},
          Case{"", DnsQuery::Status::NameError}, Case{"bad domain\r\n.test", DnsQuery::Status::NameError}})
    {
        std::vector<DnsQuery::MxRecord> records;
        EXPECT_EQ(DnsQuery::QueryMx(QString::fromLatin1(c.domain), records), c.status) << c.domain;
        CKVSmtpServer engine;
        QString host = QStringLiteral("stale");
        EXPECT_FALSE(engine.LookUpMailExchanger(QString::fromLatin1(c.domain), host)) << c.domain;
        EXPECT_TRUE(engine.FindCachedMailExchanger(QString::fromLatin1(c.domain)).isEmpty()) << c.domain;
    }
}

TEST_F(MailExchangerLookup, DomainWithoutExchangerButWithAnAddressIsItsOwnExchanger)
{
    std::vector<DnsQuery::MxRecord> records;
    EXPECT_EQ(DnsQuery::QueryMx(QStringLiteral("addressonly.test"), records), DnsQuery::Status::NoRecords);
    CKVSmtpServer engine;
    QString host;
    ASSERT_TRUE(engine.LookUpMailExchanger(QStringLiteral("addressonly.test"), host));
    EXPECT_EQ(host, QStringLiteral("127.0.0.30"));
    EXPECT_EQ(engine.FindCachedMailExchanger(QStringLiteral("addressonly.test")), host);
}

TEST_F(MailExchangerLookup, SilentNameServerFailsWithinItsTimeOut)
{
    const int silent = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    socklen_t length = sizeof(address);
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length), 0);
    UseServer(ntohs(address.sin_port));

    CKVSmtpServer engine;
    QString host;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(engine.LookUpMailExchanger(QStringLiteral("example.test"), host));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    std::vector<DnsQuery::MxRecord> records;
    EXPECT_EQ(DnsQuery::QueryMx(QStringLiteral("example.test"), records), DnsQuery::Status::Failure);
    close(silent);
}

TEST_F(MailExchangerLookup, FoundExchangerIsTakenFromTheCacheWithoutAskingAgain)
{
    CKVSmtpServer engine;
    QString host;
    ASSERT_TRUE(engine.LookUpMailExchanger(QStringLiteral("example.test"), host));
    UseServer(PeerProcess::FreePort());
    QString again;
    EXPECT_TRUE(engine.LookUpMailExchanger(QStringLiteral("example.test"), again));
    EXPECT_EQ(again, host);
    // The cache is keyed by the domain exactly as the address spells it.
    EXPECT_FALSE(engine.LookUpMailExchanger(QStringLiteral("EXAMPLE.test"), again));
}

QByteArray SeedReply(const char* name)
{
    QFile file(QStringLiteral(KV_SOURCE_DIR "/fuzz/dnsmx/corpus/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const unsigned char* Bytes(const QByteArray& bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes.constData());
}

TEST(DnsReplyReader, ReadsCompressedNamesSkipsTheNullExchangerAndRefusesCutReplies)
{
    const QByteArray compressed = SeedReply("mx-compressed");
    ASSERT_FALSE(compressed.isEmpty());
    std::vector<DnsQuery::MxRecord> records;
    ASSERT_TRUE(DnsQuery::ParseMxReply(Bytes(compressed), static_cast<int>(compressed.size()), records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].preference, 5);
    EXPECT_EQ(records[0].exchange, "mx.example.test");

    const QByteArray plain = SeedReply("mx-plain");
    ASSERT_TRUE(DnsQuery::ParseMxReply(Bytes(plain), static_cast<int>(plain.size()), records));
    EXPECT_EQ(records.size(), 3u);
    for (int length = 0; length < plain.size(); ++length)
    {
        EXPECT_FALSE(DnsQuery::ParseMxReply(Bytes(plain), length, records)) << length;
        EXPECT_TRUE(records.empty()) << length;
    }
}

TEST(DnsReplyReader, AddressFollowsTheNameChain)
{
    const QByteArray reply = SeedReply("a-through-cname");
    QString address;
    ASSERT_TRUE(DnsQuery::ParseIPv4Reply(Bytes(reply), static_cast<int>(reply.size()), address));
    EXPECT_EQ(address, "127.0.0.9");
}
} // namespace
