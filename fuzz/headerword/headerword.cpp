// Encodes arbitrary UTF-16 text (lone surrogates included) as a header value and reads it
// back: short printable ASCII stays as it is; everything else becomes encoded words of at most
// 75 characters, each holding whole characters, joined only by CR LF TAB folds, that decode to
// the text (a lone surrogate to the replacement character).

#include "mail/MailText.h"
#include "mail/VexaMail.h"
#include "tests/mail/MailDecoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
QString WithLoneSurrogatesReplaced(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i)
    {
        const QChar c = value.at(i);
        if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate())
            text += c, text += value.at(++i);
        else
            text += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
    }
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString value(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    const QString encoded = CVexaMail::EncodeHeaderWord(value);
    if (encoded == value)
    {
        if (!value.isEmpty() && !(IsPrintableAscii(value) && value.size() < 70))
            std::abort();
        return 0;
    }
    for (const QString& word : encoded.split(QStringLiteral("\r\n\t")))
    {
        if (word.size() > 75 || word.contains(u'\r') || word.contains(u'\n') || word.contains(u' '))
            std::abort();
        for (const QChar c : word)
        {
            if (c.unicode() < 33 || c.unicode() > 126)
                std::abort();
        }
    }
    const auto decoded = MailDecoding::DecodeHeaderValue(encoded);
    if (!decoded || *decoded != WithLoneSurrogatesReplaced(value))
        std::abort();
    return 0;
}
