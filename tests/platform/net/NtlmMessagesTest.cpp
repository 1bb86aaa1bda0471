#include "platform/net/NtlmMessages.h"
#include "platform/net/NtlmResponses.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace
{
// The worked NTLMv2 example of the protocol's documentation: user "User", domain "Domain",
// password "Password", time 0, client challenge eight 0xaa bytes.
const QByteArray ServerChallenge = QByteArray::fromHex("0123456789abcdef");
const QByteArray ClientChallenge = QByteArray::fromHex("aaaaaaaaaaaaaaaa");
const QByteArray TargetInfo = QByteArray::fromHex("02000c0044006f006d00610069006e00"
                                                  "01000c005300650072007600650072000000"
                                                  "0000");
const QByteArray ChallengeMessage =
    QByteArray::fromHex("4e544c4d53535000020000000c000c003800000033828ae20123456789abcdef"
                        "00000000000000002400240044000000060070170000000f5300650072007600"
                        "6500720002000c0044006f006d00610069006e0001000c005300650072007600"
                        "6500720000000000");
const QByteArray ResponseKey = QByteArray::fromHex("0c868a403bfd7a93a3001ef22ef02e3f");
const QByteArray ClientBlob = QByteArray::fromHex("0101000000000000"
                                                  "0000000000000000"
                                                  "aaaaaaaaaaaaaaaa"
                                                  "00000000") +
                              TargetInfo + QByteArray(4, '\0');
const QByteArray NtProof = QByteArray::fromHex("68cd0ab851e51c96aabc927bebef6a1c");
const QByteArray LmResponse = QByteArray::fromHex("86c35097ac9cec102554764a57cccc19aaaaaaaaaaaaaaaa");

QByteArray Utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// One payload field of an AUTHENTICATE message by its descriptor's offset.
QByteArray Field(const QByteArray& message, int descriptor)
{
    const quint16 length = qFromLittleEndian<quint16>(message.constData() + descriptor);
    const quint32 offset = qFromLittleEndian<quint32>(message.constData() + descriptor + 4);
    return message.mid(offset, length);
}

constexpr int LmField = 12;
constexpr int NtField = 20;
constexpr int DomainField = 28;
constexpr int UserField = 36;
constexpr int FlagsOffset = 60;
} // namespace

TEST(NtlmResponses, DocumentedNtlmV2ValuesComeOutByteForByte)
{
    const QByteArray key =
        NtlmResponses::NtOwfV2(QStringLiteral("User"), QStringLiteral("Domain"), QStringLiteral("Password"));
    EXPECT_EQ(key.toHex(), ResponseKey.toHex());
    EXPECT_EQ(NtlmResponses::MakeClientBlob(0, ClientChallenge, TargetInfo).toHex(), ClientBlob.toHex());
    EXPECT_EQ(NtlmResponses::NtlmV2Response(key, ServerChallenge, ClientBlob).toHex(),
              (NtProof + ClientBlob).toHex());
    EXPECT_EQ(NtlmResponses::LmV2Response(key, ServerChallenge, ClientChallenge).toHex(), LmResponse.toHex());
    // The session base key both ends derive from the proof.
    EXPECT_EQ(NtlmResponses::HmacMd5(key, NtProof).toHex(), QByteArray("8de40ccadbc14a82f15cb0ad0de95ca3"));
}

TEST(NtlmResponses, UserNameIsCaseBlindButDomainIsNot)
{
    const auto key = [](const char* user, const char* domain)
    {
        return NtlmResponses::NtOwfV2(QString::fromLatin1(user), QString::fromLatin1(domain),
                                      QStringLiteral("pw"));
    };
    EXPECT_EQ(key("user", "Domain"), key("USER", "Domain"));
    EXPECT_NE(key("User", "Domain"), key("User", "DOMAIN"));
}

TEST(NtlmMessages, DocumentedChallengeIsRead)
{
    NtlmChallenge challenge;
    ASSERT_TRUE(NtlmMessages::ParseChallenge(ChallengeMessage, &challenge));
    EXPECT_EQ(challenge.flags, 0xe28a8233u);
    EXPECT_EQ(challenge.serverChallenge, ServerChallenge);
    EXPECT_EQ(challenge.targetInfo.toHex(), TargetInfo.toHex());
    EXPECT_FALSE(challenge.hasTimestamp);
}

TEST(NtlmMessages, AuthenticateCarriesTheDocumentedResponses)
{
    NtlmChallenge challenge;
    ASSERT_TRUE(NtlmMessages::ParseChallenge(ChallengeMessage, &challenge));
    const QByteArray message =
        NtlmMessages::MakeAuthenticate(challenge, QStringLiteral("Domain"), QStringLiteral("User"),
                                       QStringLiteral("Password"), ClientChallenge, 0);
    ASSERT_GE(message.size(), 64);
    EXPECT_TRUE(message.startsWith(QByteArray("NTLMSSP\0\3\0\0\0", 12)));
    EXPECT_EQ(Field(message, LmField).toHex(), LmResponse.toHex());
    EXPECT_EQ(Field(message, NtField).toHex(), (NtProof + ClientBlob).toHex());
    EXPECT_EQ(Field(message, DomainField), Utf16(QStringLiteral("Domain")));
    EXPECT_EQ(Field(message, UserField), Utf16(QStringLiteral("User")));
    const quint32 flags = qFromLittleEndian<quint32>(message.constData() + FlagsOffset);
    EXPECT_EQ(flags & 0x3u, 0x1u) << "Unicode chosen, OEM not";
    EXPECT_EQ(flags & 0x30u, 0u) << "no signing or sealing";
}

TEST(NtlmMessages, ServerTimestampReplacesClientTimeAndSilencesLm)
{
    const QByteArray stamp = QByteArray::fromHex("0700080001020304050607080000 0000");
    QByteArray message = ChallengeMessage.left(48 + 8 + 12) + stamp;
    // Target information: the timestamp pair and the end of the list, at offset 68.
    qToLittleEndian<quint16>(static_cast<quint16>(stamp.size()), message.data() + 40);
    qToLittleEndian<quint16>(static_cast<quint16>(stamp.size()), message.data() + 42);
    NtlmChallenge challenge;
    ASSERT_TRUE(NtlmMessages::ParseChallenge(message, &challenge));
    ASSERT_TRUE(challenge.hasTimestamp);
    EXPECT_EQ(challenge.timestamp, 0x0807060504030201ull);
    const QByteArray answer = NtlmMessages::MakeAuthenticate(challenge, QString(), QStringLiteral("u"),
                                                             QStringLiteral("p"), ClientChallenge, 42);
    EXPECT_EQ(Field(answer, LmField), QByteArray(24, '\0'));
    EXPECT_EQ(Field(answer, NtField).mid(16 + 8, 8).toHex(), QByteArray("0102030405060708"));
}

TEST(NtlmMessages, MalformedChallengesAreRefused)
{
    const auto with = [](int offset, const char* hex)
    {
        QByteArray message = ChallengeMessage;
        const QByteArray bytes = QByteArray::fromHex(hex);
        message.replace(offset, bytes.size(), bytes);
        return message;
    };
    const struct
    {
        const char* what;
        QByteArray message;
    } cases[] = {
        {"empty", QByteArray()},
        {"shorter than the fixed header", ChallengeMessage.left(31)},
        {"wrong signature", with(0, "4e544c4d53535001")},
        {"NEGOTIATE type", with(8, "01000000")},
        {"target name past the end", with(16, "f0000000")},
        {"target info longer than the message", with(40, "ff00ff00")},
        {"target info offset far away", with(44, "ffffff7f")},
        {"pair overrunning the target info", with(68 + 2, "ff00")},
        {"target info cut before the end-of-list pair",
         []
         {
             QByteArray message = ChallengeMessage;
             message[40] = 32;
             return message;
         }()},
    };
    for (const auto& entry : cases)
    {
        NtlmChallenge challenge;
        challenge.flags = 7;
        EXPECT_FALSE(NtlmMessages::ParseChallenge(entry.message, &challenge)) << entry.what;
        EXPECT_EQ(challenge.flags, 7u) << entry.what << ": nothing is stored from a refused message";
    }
}

TEST(NtlmMessages, OldChallengeWithoutTargetInfoStillAnswers)
{
    QByteArray message = ChallengeMessage.left(32);
    message.replace(12, 8, QByteArray(8, '\0'));
    NtlmChallenge challenge;
    ASSERT_TRUE(NtlmMessages::ParseChallenge(message, &challenge));
    EXPECT_TRUE(challenge.targetInfo.isEmpty());
    const QByteArray answer = NtlmMessages::MakeAuthenticate(challenge, QString(), QStringLiteral("u"),
                                                             QStringLiteral("p"), ClientChallenge, 0);
    EXPECT_EQ(Field(answer, NtField).size(), 16 + 28 + 4);
}
