#include "recipients/TextRows.h"

#include "base/AnsiCodePage.h"

#include <QStringDecoder>

namespace
{
constexpr QChar Quote = u'"';

bool IsLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// Reads one text into rows; the state is the position in the text and the row being built.
class DelimitedReader
{
public:
    DelimitedReader(const QString& text, QChar delimiter, TextRows& rows)
        : m_text(text), m_delimiter(delimiter), m_rows(rows), m_quoting(delimiter != Quote)
    {
    }

    bool Read()
    {
        while (m_at < m_text.size())
        {
            if (!ReadRow())
                return false;
        }
        return true;
    }

private:
    bool ReadRow()
    {
        QStringList row;
        if (IsLineBreak(m_text[m_at]))
        {
            SkipLineBreak();
            m_rows.append(row);
            return true;
        }
        for (;;)
        {
            if (row.size() >= TextRowLimits::MaxCellsPerRow || ++m_cellCount > TextRowLimits::MaxCells)
                return false;
            row.append(ReadCell());
            if (m_at < m_text.size() && m_text[m_at] == m_delimiter)
            {
                ++m_at;
                continue;
            }
            SkipLineBreak();
            m_rows.append(row);
            return true;
        }
    }

    // Stops before the delimiter or line break that ends the cell.
    QString ReadCell()
    {
        QString cell;
        if (m_quoting && m_at < m_text.size() && m_text[m_at] == Quote)
            ReadQuoted(cell);
        const qsizetype start = m_at;
        while (m_at < m_text.size() && m_text[m_at] != m_delimiter && !IsLineBreak(m_text[m_at]))
            ++m_at;
        cell += QStringView(m_text).sliced(start, m_at - start);
        return cell;
    }

    // From the opening quote to just past the closing one, or to the end of the text.
    void ReadQuoted(QString& cell)
    {
        ++m_at;
        for (;;)
        {
            const qsizetype close = m_text.indexOf(Quote, m_at);
            if (close < 0)
            {
                cell += QStringView(m_text).sliced(m_at);
                m_at = m_text.size();
                return;
            }
            cell += QStringView(m_text).sliced(m_at, close - m_at);
            m_at = close + 1;
            if (m_at >= m_text.size() || m_text[m_at] != Quote)
                return;
            cell += Quote;
            ++m_at;
        }
    }

    void SkipLineBreak()
    {
        if (m_at < m_text.size() && m_text[m_at] == u'\r')
            ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == u'\n')
            ++m_at;
    }

    const QString& m_text;
    const QChar m_delimiter;
    TextRows& m_rows;
    const bool m_quoting;
    qsizetype m_at = 0;
    qsizetype m_cellCount = 0;
};

bool StartsWith(const QByteArray& bytes, const char* mark)
{
    return bytes.startsWith(QByteArrayView(mark));
}

QString Decode(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}
} // namespace

QString DecodeImportText(const QByteArray& bytes)
{
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return Decode(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    if (StartsWith(bytes, "\xFF\xFE"))
        return Decode(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    if (StartsWith(bytes, "\xFE\xFF"))
        return Decode(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return AnsiCodePage::ToText(bytes);
}

bool SplitDelimitedText(const QString& text, QChar delimiter, TextRows& rows)
{
    rows.clear();
    if (text.size() > TextRowLimits::MaxBytes || !DelimitedReader(text, delimiter, rows).Read())
    {
        rows.clear();
        return false;
    }
    return true;
}

bool ParseDelimitedTextToRows(TextRows& rows, const QString& text, const DelimiterQuestion& askDelimiter)
{
    rows.clear();
    QChar delimiter;
    if (text.isEmpty() || !askDelimiter(delimiter))
        return true;
    return SplitDelimitedText(text, delimiter, rows);
}
