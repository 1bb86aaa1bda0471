// Encodes arbitrary bytes as Base64, writes them as an inline part and reads them back: the
// text is four characters per started group of three bytes, from the alphabet with "=" only as
// fill at its end; the part's body lines are at most 76 characters with CR LF ends only; the
// decoder gives back exactly the bytes.

#include "base/Base64.h"
#include "mail/Base64Encode.h"
#include "mail/MailOutput.h"
#include "mail/VexaMail.h"

#include <QByteArrayList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
class Collected : public CMailOutput
{
public:
    void Write(const QString& text) override { bytes += text.toLatin1(); }
    QByteArray bytes;
};

bool IsAlphabet(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString text;
    if (!EncodeBase64(bytes, text) || text.size() != (bytes.size() + 2) / 3 * 4)
        std::abort();
    const QByteArray encoded = text.toLatin1();
    const qsizetype fill = encoded.endsWith("==") ? 2 : encoded.endsWith('=') ? 1 : 0;
    for (qsizetype i = 0; i < encoded.size() - fill; ++i)
    {
        if (!IsAlphabet(encoded.at(i)))
            std::abort();
    }

    CMailPart part(CMailPart::Base64Inline);
    part.SetBody(text);
    Collected output;
    CVexaMail::WritePart(output, part);
    const qsizetype bodyStart = output.bytes.indexOf("\r\n\r\n") + 4;
    QByteArray joined;
    for (const QByteArray& line : output.bytes.mid(bodyStart).split('\n'))
    {
        if (line.isEmpty())
            continue;
        if (!line.endsWith('\r') || line.size() - 1 > 76 || line.chopped(1).contains('\r'))
            std::abort();
        joined += line.chopped(1);
    }
    if (joined != encoded)
        std::abort();

    int length = static_cast<int>(bytes.size()) + 3;
    QByteArray decoded(length, '\0');
    if (!DecodeBase64(encoded.constData(), static_cast<int>(encoded.size()),
                      reinterpret_cast<unsigned char*>(decoded.data()), &length) ||
        decoded.left(length) != bytes)
        std::abort();
    return 0;
}
