// Encodes arbitrary text as a quoted-printable body and reads it back: the first byte chooses
// the code page, the rest are UTF-16 code units (lone surrogates included). The body must be
// ASCII with CR LF line ends only, no line longer than 76 or starting with ".", and decode to
// exactly the text's bytes, its CR, LF and CR LF line breaks all as CR LF.

#include "base/AnsiCodePage.h"
#include "mail/VexaMail.h"
#include "tests/mail/MailDecoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool ansi = data[0] & 1;
    const QString text(reinterpret_cast<const QChar*>(data + 1), static_cast<qsizetype>((size - 1) / 2));
    const QByteArray encoded = CVexaMail::EncodeQPBody(text, ansi).toLatin1();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= encoded.size(); ++i)
    {
        const bool end = i == encoded.size();
        if (!end && static_cast<unsigned char>(encoded.at(i)) > 126)
            std::abort();
        if (!end && encoded.at(i) == '\n' && (i == 0 || encoded.at(i - 1) != '\r'))
            std::abort();
        if (!end && encoded.at(i) == '\r' && (i + 1 == encoded.size() || encoded.at(i + 1) != '\n'))
            std::abort();
        if (end || encoded.at(i) == '\r')
        {
            if (i - lineStart > 76 || encoded.mid(lineStart, 1) == ".")
                std::abort();
            lineStart = i + 2;
        }
    }
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    lines.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    const auto decoded = MailDecoding::DecodeQuotedPrintable(encoded);
    if (!decoded || *decoded != (ansi ? AnsiCodePage::FromText(lines) : lines.toUtf8()))
        std::abort();
    return 0;
}
