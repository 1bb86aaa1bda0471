#include "base/Md5Digest.h"

#include "base/AnsiCodePage.h"

#include <QtEndian>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace
{
constexpr quint32 Sines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr int Shifts[64] = {
    7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 5,  9,  14, 20, 5,  9,
    14, 20, 5,  9,  14, 20, 5,  9,  14, 20, 4,  11, 16, 23, 4,  11, 16, 23, 4,  11, 16, 23,
    4,  11, 16, 23, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21,
};

quint32 RotateLeft(quint32 value, int count)
{
    return (value << count) | (value >> (32 - count));
}
} // namespace

CMd5Digest::CMd5Digest() : m_state{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

CMd5Digest::CMd5Digest(const void* bytes, int length) : CMd5Digest()
{
    Update(bytes, length);
    Finish();
}

void CMd5Digest::Transform(const quint8* block)
{
    quint32 words[16];
    for (int i = 0; i < 16; ++i)
        words[i] = qFromLittleEndian<quint32>(block + 4 * i);

    quint32 a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (int i = 0; i < 64; ++i)
    {
        quint32 f;
        int g;
        if (i < 16)
        {
            f = (b & c) | (~b & d);
            g = i;
        }
        else if (i < 32)
        {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        }
        else if (i < 48)
        {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        }
        else
        {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const quint32 rotated = b + RotateLeft(a + f + Sines[i] + words[g], Shifts[i]);
        a = d;
        d = c;
        c = b;
        b = rotated;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void CMd5Digest::Update(const void* bytes, int length)
{
    if (!bytes || length <= 0)
        return;
    auto input = static_cast<const quint8*>(bytes);
    m_totalBytes += quint64(length);
    while (length > 0)
    {
        const int take = std::min(length, 64 - m_blockBytes);
        std::memcpy(m_block + m_blockBytes, input, size_t(take));
        m_blockBytes += take;
        input += take;
        length -= take;
        if (m_blockBytes == 64)
        {
            Transform(m_block);
            m_blockBytes = 0;
        }
    }
}

void CMd5Digest::AddString(const QString& text)
{
    QByteArray bytes = AnsiCodePage::FromText(text);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    Update(bytes.constData(), int(bytes.size()));
}

void CMd5Digest::AddBool(bool value)
{
    AddString(value ? QStringLiteral("1") : QStringLiteral("0"));
}

void CMd5Digest::AddInt(int value)
{
    AddString(QString::number(value));
}

void CMd5Digest::AddFloat(float value)
{
    // to_chars never looks at the locale, unlike printf.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, double(value), std::chars_format::fixed, 6);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(u'.', u',');
    AddString(text);
}

void CMd5Digest::AddRect(int left, int top, int right, int bottom)
{
    AddString(QStringLiteral("%1;%2;%3;%4").arg(left).arg(top).arg(right).arg(bottom));
}

void CMd5Digest::AddRect(const QRect& rect)
{
    AddRect(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
}

void CMd5Digest::Finish()
{
    const quint64 bitLength = m_totalBytes * 8;
    static const quint8 padding[64] = {0x80};
    const int padBytes = m_blockBytes < 56 ? 56 - m_blockBytes : 120 - m_blockBytes;
    const quint64 totalBeforePadding = m_totalBytes;
    Update(padding, padBytes);
    quint8 length[8];
    qToLittleEndian(bitLength, length);
    Update(length, 8);
    m_totalBytes = totalBeforePadding;

    static constexpr char Hex[] = "0123456789abcdef";
    m_digest.clear();
    for (quint32 word : m_state)
    {
        for (int i = 0; i < 4; ++i)
        {
            const quint8 byte = quint8(word >> (8 * i));
            m_digest += QChar(Hex[byte >> 4]);
            m_digest += QChar(Hex[byte & 0x0F]);
        }
    }
}
