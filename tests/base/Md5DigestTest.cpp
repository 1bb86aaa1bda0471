#include "base/Md5Digest.h"

#include <QCryptographicHash>

#include <climits>
#include <clocale>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace
{
QString Md5Of(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}
} // namespace

TEST(Md5Digest, MatchesTheReferenceTestSuite)
{
    const std::pair<const char*, const char*> vectors[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [message, digest] : vectors)
    {
        const CMd5Digest once(message, int(strlen(message)));
        EXPECT_EQ(once.GetDigest(), digest) << message;

        // The same message fed in uneven pieces.
        CMd5Digest pieces;
        for (size_t at = 0, step = 1; at < strlen(message); at += step, step = step * 2 + 1)
            pieces.Update(message + at, int(std::min(step, strlen(message) - at)));
        pieces.Finish();
        EXPECT_EQ(pieces.GetDigest(), digest) << message;
    }
}

TEST(Md5Digest, AgreesWithAnIndependentDigestAcrossBlockBoundaries)
{
    QByteArray message;
    for (int length = 0; length <= 300; ++length)
    {
        EXPECT_EQ(CMd5Digest(message.constData(), int(message.size())).GetDigest(), Md5Of(message)) << length;
        message += char(length * 7 + 1);
    }
}

TEST(Md5Digest, TypedValuesAreFedAsTheirTextWithoutSeparators)
{
    struct Case
    {
        const char* name;
        std::function<void(CMd5Digest&)> feed;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"ints run together", [](CMd5Digest& d) { d.AddInt(12), d.AddInt(3); }, "123"},
        {"negative int", [](CMd5Digest& d) { d.AddInt(INT_MIN); }, "-2147483648"},
        {"bools", [](CMd5Digest& d) { d.AddBool(true), d.AddBool(false); }, "10"},
        {"float with comma", [](CMd5Digest& d) { d.AddFloat(1.5f); }, "1,500000"},
        {"float rounding", [](CMd5Digest& d) { d.AddFloat(0.1f); }, "0,100000"},
        {"large float", [](CMd5Digest& d) { d.AddFloat(1e10f); }, "10000000000,000000"},
        {"negative float", [](CMd5Digest& d) { d.AddFloat(-2.25f); }, "-2,250000"},
        {"rect", [](CMd5Digest& d) { d.AddRect(1, -2, 30, 40); }, "1;-2;30;40"},
        {"rect edges", [](CMd5Digest& d) { d.AddRect(QRect(10, 20, 5, 6)); }, "10;20;15;26"},
        {"ansi text", [](CMd5Digest& d) { d.AddString(QString::fromUtf16(u"caf\u00E9 \u20AC")); },
         "caf\xE9 \x80"},
        {"text stops at nul", [](CMd5Digest& d) { d.AddString(QStringLiteral("ab") + QChar(0) + u'c'); },
         "ab"},
    };
    for (const Case& c : cases)
    {
        CMd5Digest digest;
        c.feed(digest);
        digest.Finish();
        EXPECT_EQ(digest.GetDigest(), Md5Of(c.bytes)) << c.name;
    }
}

TEST(Md5Digest, FloatTextIgnoresTheLocale)
{
    const char* const previous = setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // Any locale with a comma decimal separator that this machine has; the C locale otherwise.
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "sv_SE.UTF-8"})
    {
        if (setlocale(LC_NUMERIC, name))
            break;
    }
    CMd5Digest digest;
    digest.AddFloat(1.5f);
    digest.Finish();
    setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(digest.GetDigest(), Md5Of("1,500000"));
}

TEST(Md5Digest, DigestIsEmptyUntilFinished)
{
    CMd5Digest digest;
    digest.AddInt(1);
    EXPECT_TRUE(digest.GetDigest().isEmpty());
    digest.Finish();
    EXPECT_EQ(digest.GetDigest(), Md5Of("1"));
}
