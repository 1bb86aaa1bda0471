#include "base/Base64.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace
{
// Decodes the way callers do: once for the length, once into a buffer of that size.
QByteArray Decode(const QByteArray& text)
{
    int length = 0;
    EXPECT_FALSE(DecodeBase64(text.constData(), int(text.size()), nullptr, &length));
    QByteArray out(length, '\0');
    int capacity = length;
    EXPECT_TRUE(DecodeBase64(text.constData(), int(text.size()), reinterpret_cast<unsigned char*>(out.data()),
                             &capacity) ||
                length == 0);
    EXPECT_EQ(capacity, length);
    EXPECT_EQ(DecodeBase64Bytes(text), out);
    return out;
}
} // namespace

TEST(Base64, DecodesStandardAndMalformedText)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"", ""},
        {"Zg==", "f"},
        {"Zm8=", "fo"},
        {"Zm9v", "foo"},
        {"Zm9vYg==", "foob"},
        {"Zm9vYmE=", "fooba"},
        {"Zm9vYmFy", "foobar"},
        // Padding is optional, line breaks and foreign characters are skipped.
        {"Zm9vYg", "foob"},
        {"Zm9v\r\nYmFy\r\n", "foobar"},
        {" Zm 9v\tYm*Fy!", "foobar"},
        {"+/+/", "\xFB\xFF\xBF"},
        // A lone character at the end gives no byte; a NUL ends the text.
        {"Zm9vY", "foo"},
        {"====", ""},
        {QByteArray("Zm9v\0YmFy", 9), "foo"},
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(Decode(text), bytes) << text.constData();
}

TEST(Base64, RoundTripsArbitraryBytes)
{
    for (int length = 0; length < 64; ++length)
    {
        QByteArray bytes(length, '\0');
        for (char& b : bytes)
            b = char(QRandomGenerator::global()->bounded(256));
        EXPECT_EQ(Decode(bytes.toBase64()), bytes);
        EXPECT_EQ(Decode(bytes.toBase64(QByteArray::OmitTrailingEquals)), bytes);
    }
}

TEST(Base64, TooSmallBufferReportsTheNeededLength)
{
    const QByteArray text = "Zm9vYmFy";
    unsigned char buffer[6] = {};
    int length = 5;
    EXPECT_FALSE(DecodeBase64(text.constData(), int(text.size()), buffer, &length));
    EXPECT_EQ(length, 6);
    // The first group fitted and was written; nothing was written past the buffer's size.
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), 6), QByteArray("foo\0\0\0", 6));

    length = 6;
    EXPECT_TRUE(DecodeBase64(text.constData(), int(text.size()), buffer, &length));
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), length), "foobar");
}

TEST(Base64, RefusesMissingArguments)
{
    unsigned char buffer[4];
    int length = 4;
    EXPECT_FALSE(DecodeBase64(nullptr, 4, buffer, &length));
    EXPECT_FALSE(DecodeBase64("Zm9v", 4, buffer, nullptr));
    EXPECT_FALSE(DecodeBase64("Zm9v", -1, buffer, &length));
}
