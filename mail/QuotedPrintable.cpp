#include "mail/QuotedPrintable.h"

#include "base/AnsiCodePage.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <cstring>

namespace
{
constexpr int BodyLineMaximum = 70;

// Each byte as it is written: itself, or "=" and two hex digits.
struct Piece
{
    char text[4];
    int length;
};

constexpr std::array<Piece, 256> MakePieces()
{
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<Piece, 256> pieces{};
    for (int byte = 0; byte < 256; ++byte)
    {
        const bool letter = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
        const bool punctuation = byte == ' ' || byte == '\'' || byte == '(' || byte == ')' || byte == '+' ||
                                 byte == ',' || byte == '-' || byte == '/' || byte == ':' || byte == '?';
        if (letter || punctuation)
            pieces[byte] = {{char(byte)}, 1};
        else
            pieces[byte] = {{'=', digits[byte >> 4], digits[byte & 0x0F]}, 3};
    }
    return pieces;
}

constexpr std::array<Piece, 256> Pieces = MakePieces();

// The most bytes of one character: four in UTF-8, ten for the longest reference, "&#1114111;".
constexpr int Utf8Bytes = 4;
constexpr int MaxReferenceBytes = 10;

// Writes straight into the output's bytes, growing them ahead of need: one append per byte
// would cost more than the encoding itself.
class Encoder
{
public:
    // A character gives at most so many bytes before they are escaped. Room for the text's size
    // twice over is taken at once: most text needs less.
    Encoder(QByteArray& output, qsizetype textSize, int characterBytes, bool ansi, int maximum,
            QByteArrayView lineBreak)
        : m_output(output), m_characterBytes(characterBytes), m_ansi(ansi), m_maximum(maximum),
          m_lineBreak(lineBreak), m_used(output.size()), m_lineStart(m_used)
    {
        m_output.resize(m_used + 2 * textSize + 64);
        m_data = m_output.data();
    }

    ~Encoder() { m_output.resize(m_used); }

    // Room for so many characters or line ends, each byte of them escaped after a soft break
    // with an escaped blank before it, and the slack of one piece's whole four characters.
    void Reserve(qsizetype characters)
    {
        const qsizetype largest = characters * m_characterBytes * (3 + 2 + m_lineBreak.size()) + 4;
        if (m_used + largest <= m_output.size())
            return;
        m_output.resize(std::max(m_output.size() * 2, m_used + largest + 256));
        m_data = m_output.data();
    }

    // The character at the index; the index moves past the partner of a surrogate pair.
    void Character(QStringView text, qsizetype& index)
    {
        const char16_t unit = text[index].unicode();
        // ASCII is the same byte in both code pages.
        if (unit < 0x80)
        {
            Byte(static_cast<unsigned char>(unit));
            return;
        }
        const bool pair = QChar::isHighSurrogate(unit) && index + 1 < text.size() &&
                          QChar::isLowSurrogate(text[index + 1].unicode());
        if (m_ansi)
        {
            index += pair;
            Byte(static_cast<unsigned char>(AnsiCodePage::FromUnit(unit)));
        }
        else if (pair)
            Utf8(QChar::surrogateToUcs4(unit, text[++index].unicode()));
        else
            Utf8(QChar::isSurrogate(unit) ? char32_t('?') : char32_t(unit));
    }

    // An HTML character: above 126 as a reference to its code point, a surrogate without its
    // partner as the replacement character.
    void HtmlCharacter(QStringView text, qsizetype& index)
    {
        const char16_t unit = text[index].unicode();
        if (unit <= 126)
        {
            Byte(static_cast<unsigned char>(unit));
            return;
        }
        char32_t code = unit;
        if (QChar::isHighSurrogate(unit) && index + 1 < text.size() &&
            QChar::isLowSurrogate(text[index + 1].unicode()))
            code = QChar::surrogateToUcs4(unit, text[++index].unicode());
        else if (QChar::isSurrogate(unit))
            code = QChar::ReplacementCharacter;
        char reference[MaxReferenceBytes];
        char* const end = reference + MaxReferenceBytes;
        char* start = end;
        *--start = ';';
        do
        {
            *--start = char('0' + code % 10);
            code /= 10;
        } while (code > 0);
        *--start = '#';
        *--start = '&';
        for (; start < end; ++start)
            Byte(static_cast<unsigned char>(*start));
    }

    void EndLine()
    {
        EscapeTrailingBlank(m_lineStart);
        m_data[m_used++] = '\r';
        m_data[m_used++] = '\n';
        m_lineStart = m_used;
        m_counter = 0;
    }

    void EndText() { EscapeTrailingBlank(m_lineStart); }

private:
    void Utf8(char32_t code)
    {
        if (code < 0x80)
            Byte(static_cast<unsigned char>(code));
        else if (code < 0x800)
        {
            Byte(static_cast<unsigned char>(0xC0 | (code >> 6)));
            Byte(static_cast<unsigned char>(0x80 | (code & 0x3F)));
        }
        else if (code < 0x10000)
        {
            Byte(static_cast<unsigned char>(0xE0 | (code >> 12)));
            Byte(static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F)));
            Byte(static_cast<unsigned char>(0x80 | (code & 0x3F)));
        }
        else
        {
            Byte(static_cast<unsigned char>(0xF0 | (code >> 18)));
            Byte(static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3F)));
            Byte(static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F)));
            Byte(static_cast<unsigned char>(0x80 | (code & 0x3F)));
        }
    }

    void Byte(unsigned char byte)
    {
        if (m_counter >= m_maximum)
        {
            m_counter = 0;
            EscapeTrailingBlank(0);
            std::copy(m_lineBreak.begin(), m_lineBreak.end(), m_data + m_used);
            m_used += m_lineBreak.size();
        }
        const Piece& piece = Pieces[byte];
        std::memcpy(m_data + m_used, piece.text, sizeof(piece.text));
        m_used += piece.length;
        m_counter += piece.length;
    }

    // A blank that ends what was written since the start becomes "=20".
    void EscapeTrailingBlank(qsizetype start)
    {
        if (m_used <= start || m_data[m_used - 1] != ' ')
            return;
        m_data[m_used - 1] = '=';
        m_data[m_used++] = '2';
        m_data[m_used++] = '0';
    }

    QByteArray& m_output;
    const int m_characterBytes;
    const bool m_ansi;
    const int m_maximum;
    const QByteArrayView m_lineBreak;
    qsizetype m_used;
    qsizetype m_lineStart;
    char* m_data{nullptr};
    int m_counter{0};
};

// The encoder makes room for so many characters at a time rather than for each.
constexpr qsizetype BlockCharacters = 256;

// Every character of the text through the encoder; with lines, each line ended by CR LF
// whatever ended it, otherwise line breaks are characters like the rest.
template <typename EncodeCharacter>
void AppendCharacters(Encoder& encoder, QStringView text, bool lines, EncodeCharacter encode)
{
    for (qsizetype i = 0; i < text.size();)
    {
        const qsizetype blockEnd = std::min(text.size(), i + BlockCharacters);
        encoder.Reserve(blockEnd - i);
        for (; i < blockEnd; ++i)
        {
            const char16_t c = text[i].unicode();
            if (!lines || (c != u'\r' && c != u'\n'))
            {
                encode(i);
                continue;
            }
            encoder.EndLine();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        }
    }
    encoder.EndText();
}
} // namespace

namespace QuotedPrintable
{
void AppendLine(QByteArray& output, QStringView text, bool ansi, int maximum, QByteArrayView lineBreak)
{
    Encoder encoder(output, text.size(), Utf8Bytes, ansi, maximum, lineBreak);
    AppendCharacters(encoder, text, false, [&](qsizetype& index) { encoder.Character(text, index); });
}

void AppendBody(QByteArray& output, QStringView text, bool ansi)
{
    Encoder encoder(output, text.size(), Utf8Bytes, ansi, BodyLineMaximum, "=\r\n");
    AppendCharacters(encoder, text, true, [&](qsizetype& index) { encoder.Character(text, index); });
}

void AppendHtmlBody(QByteArray& output, QStringView html)
{
    Encoder encoder(output, html.size(), MaxReferenceBytes, false, BodyLineMaximum, "=\r\n");
    AppendCharacters(encoder, html, true, [&](qsizetype& index) { encoder.HtmlCharacter(html, index); });
}
} // namespace QuotedPrintable
