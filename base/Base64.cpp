#include "base/Base64.h"

namespace
{
int SextetOf(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}
} // namespace

bool DecodeBase64(const char* input, int inputLength, unsigned char* output, int* outputLength)
{
    if (!input || !outputLength || inputLength < 0)
        return false;
    const int capacity = output ? *outputLength : 0;
    bool writing = output != nullptr;
    int decoded = 0;
    int position = 0;
    while (position < inputLength && input[position] != '\0')
    {
        int sextets[4];
        int count = 0;
        while (count < 4 && position < inputLength)
        {
            const int sextet = SextetOf(static_cast<unsigned char>(input[position++]));
            if (sextet >= 0)
                sextets[count++] = sextet;
        }
        const int bytes = count > 1 ? count - 1 : 0;
        if (bytes == 0)
            continue;
        const unsigned value = (unsigned(sextets[0]) << 18) | (unsigned(sextets[1]) << 12) |
                               (count > 2 ? unsigned(sextets[2]) << 6 : 0u) |
                               (count > 3 ? unsigned(sextets[3]) : 0u);
        if (writing && decoded + bytes > capacity)
            writing = false;
        if (writing)
        {
            for (int i = 0; i < bytes; ++i)
                output[decoded + i] = static_cast<unsigned char>(value >> (16 - 8 * i));
        }
        decoded += bytes;
    }
    *outputLength = decoded;
    return writing;
}

QByteArray DecodeBase64Bytes(const QByteArray& text)
{
    int length = 0;
    DecodeBase64(text.constData(), static_cast<int>(text.size()), nullptr, &length);
    QByteArray bytes(length, '\0');
    DecodeBase64(text.constData(), static_cast<int>(text.size()),
                 reinterpret_cast<unsigned char*>(bytes.data()), &length);
    return bytes;
}
