#include "mail/Base64Encode.h"

bool EncodeBase64(const QByteArray& bytes, QString& text)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto* input = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    QByteArray output((size + 2) / 3 * 4, Qt::Uninitialized);
    char* out = output.data();
    qsizetype i = 0;
    for (; i + 2 < size; i += 3)
    {
        const unsigned int group = (input[i] << 16) | (input[i + 1] << 8) | input[i + 2];
        *out++ = alphabet[(group >> 18) & 0x3F];
        *out++ = alphabet[(group >> 12) & 0x3F];
        *out++ = alphabet[(group >> 6) & 0x3F];
        *out++ = alphabet[group & 0x3F];
    }
    if (i < size)
    {
        const bool two = i + 1 < size;
        const unsigned int group = (input[i] << 16) | (two ? input[i + 1] << 8 : 0);
        *out++ = alphabet[(group >> 18) & 0x3F];
        *out++ = alphabet[(group >> 12) & 0x3F];
        *out++ = two ? alphabet[(group >> 6) & 0x3F] : '=';
        *out++ = '=';
    }
    text = QString::fromLatin1(output);
    return true;
}
