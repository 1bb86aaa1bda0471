#pragma once

#include <QByteArray>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <optional>

// Independent readers of what the encoders write, as a receiving mail program reads it.
namespace MailDecoding
{
inline int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes of a quoted-printable body: soft breaks removed, "=XX" decoded, CR LF kept.
// Nothing when an escape is malformed.
inline std::optional<QByteArray> DecodeQuotedPrintable(const QByteArray& text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        if (text.at(i) != '=')
        {
            bytes += text.at(i);
            continue;
        }
        if (text.mid(i + 1, 2) == "\r\n")
        {
            i += 2;
            continue;
        }
        const int high = i + 2 < text.size() ? HexValue(text.at(i + 1)) : -1;
        const int low = i + 2 < text.size() ? HexValue(text.at(i + 2)) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

// The text of a header value made of RFC 2047 "Q" encoded words separated by folds, or the
// value itself when it holds no encoded word. Nothing when a word is malformed.
inline std::optional<QString> DecodeHeaderValue(const QString& value)
{
    if (!value.startsWith(QLatin1String("=?")))
        return value;
    QString text;
    for (QString word : value.split(QLatin1String("\r\n\t")))
    {
        if (!word.startsWith(QLatin1String("=?")) || !word.endsWith(QLatin1String("?=")))
            return std::nullopt;
        word = word.mid(2, word.size() - 4);
        const QStringList fields = word.split(QLatin1Char('?'));
        if (fields.size() != 3 || fields.at(1) != QLatin1String("Q"))
            return std::nullopt;
        const std::optional<QByteArray> bytes = DecodeQuotedPrintable(fields.at(2).toLatin1());
        if (!bytes)
            return std::nullopt;
        if (fields.at(0) == QLatin1String("iso-8859-1"))
            text += QString::fromLatin1(*bytes);
        else if (fields.at(0) == QLatin1String("utf-8"))
        {
            QStringDecoder decoder(QStringDecoder::Utf8,
                                   QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            const QString part = decoder(*bytes);
            // Each word must hold whole characters.
            if (decoder.hasError())
                return std::nullopt;
            text += part;
        }
        else
            return std::nullopt;
    }
    return text;
}
} // namespace MailDecoding
