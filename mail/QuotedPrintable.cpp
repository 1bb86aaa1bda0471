#include "mail/QuotedPrintable.h"

#include "base/AnsiCodePage.h"

#include <QChar>

#include <algorithm>
#include <array>

namespace
{
constexpr int BodyLineMaximum = 70;

constexpr std::array<bool, 256> MakeLiteralTable()
{
    std::array<bool, 256> literal{};
    for (int byte = 'A'; byte <= 'Z'; ++byte)
        literal[byte] = literal[byte - 'A' + 'a'] = true;
    for (const char byte : {' ', '\'', '(', ')', '+', ',', '-', '/', ':', '?'})
        literal[static_cast<unsigned char>(byte)] = true;
    return literal;
}

constexpr std::array<bool, 256> IsLiteral = MakeLiteralTable();

// Writes straight into the output's bytes, growing them ahead of need: one append per byte
// would cost more than the encoding itself.
class Encoder
{
public:
    Encoder(QByteArray& output, bool ansi, int maximum, QByteArrayView lineBreak)
        : m_output(output), m_ansi(ansi), m_maximum(maximum), m_lineBreak(lineBreak), m_used(output.size()),
          m_lineStart(m_used), m_data(output.data())
    {
    }

    ~Encoder() { m_output.resize(m_used); }

    // The character at the index; the index moves past the partner of a surrogate pair.
    void Character(QStringView text, qsizetype& index)
    {
        Reserve();
        const char16_t unit = text[index].unicode();
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

    void EndLine()
    {
        Reserve();
        EscapeTrailingBlank(m_lineStart);
        m_data[m_used++] = '\r';
        m_data[m_used++] = '\n';
        m_lineStart = m_used;
        m_counter = 0;
    }

    void EndText() { EscapeTrailingBlank(m_lineStart); }

private:
    // Room for the largest piece one character can add: four escaped bytes, each after a soft
    // break with an escaped blank before it.
    void Reserve()
    {
        const qsizetype largest = 4 * (3 + 2 + m_lineBreak.size());
        if (m_used + largest <= m_output.size())
            return;
        m_output.resize(std::max(m_output.size() * 2, m_used + largest + 256));
        m_data = m_output.data();
    }

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
        static const char digits[] = "0123456789ABCDEF";
        if (m_counter >= m_maximum)
        {
            m_counter = 0;
            EscapeTrailingBlank(0);
            std::copy(m_lineBreak.begin(), m_lineBreak.end(), m_data + m_used);
            m_used += m_lineBreak.size();
        }
        if (IsLiteral[byte])
        {
            m_data[m_used++] = static_cast<char>(byte);
            m_counter += 1;
            return;
        }
        m_data[m_used++] = '=';
        m_data[m_used++] = digits[byte >> 4];
        m_data[m_used++] = digits[byte & 0x0F];
        m_counter += 3;
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
    const bool m_ansi;
    const int m_maximum;
    const QByteArrayView m_lineBreak;
    qsizetype m_used;
    qsizetype m_lineStart;
    char* m_data;
    int m_counter{0};
};
} // namespace

namespace QuotedPrintable
{
void AppendLine(QByteArray& output, QStringView text, bool ansi, int maximum, QByteArrayView lineBreak)
{
    Encoder encoder(output, ansi, maximum, lineBreak);
    for (qsizetype i = 0; i < text.size(); ++i)
        encoder.Character(text, i);
    encoder.EndText();
}

void AppendBody(QByteArray& output, QStringView text, bool ansi)
{
    Encoder encoder(output, ansi, BodyLineMaximum, "=\r\n");
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const char16_t c = text[i].unicode();
        if (c != u'\r' && c != u'\n')
        {
            encoder.Character(text, i);
            continue;
        }
        encoder.EndLine();
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    encoder.EndText();
}
} // namespace QuotedPrintable
