#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Rows of text cells, as a text file, pasted text or a pasted HTML table yields them; rows may
// differ in length and may have no cells.
using TextRows = QList<QStringList>;

namespace TextRowLimits
{
// A text file or pasted text larger than this is refused before it is decoded.
constexpr qsizetype MaxBytes = 128 * 1024 * 1024;
constexpr qsizetype MaxCellsPerRow = 1024;
constexpr qsizetype MaxCells = 8 * 1024 * 1024;
} // namespace TextRowLimits

// The text of a file's bytes: a byte-order mark (UTF-8, UTF-16 LE or BE) decides the encoding and
// is dropped; without one, bytes that are valid UTF-8 are UTF-8 and anything else is Windows-1252.
QString DecodeImportText(const QByteArray& bytes);

// Splits the text into rows at line breaks (CR LF, LF or a lone CR) and into cells at the
// delimiter, reading quotes as spreadsheets write them: a cell that begins with a double quote
// runs to its closing quote, "" inside it is one quote, and delimiters and line breaks inside it
// are data; what follows the closing quote up to the next delimiter is appended as it is. A quote
// inside an unquoted cell is data. An empty line is a row without cells; a final line break adds
// no row. False, with rows empty, when the text passes the limits above.
bool SplitDelimitedText(const QString& text, QChar delimiter, TextRows& rows);

// Asks which character cuts the lines of a text into cells; false when the user declines or
// gives none.
using DelimiterQuestion = std::function<bool(QChar& delimiter)>;

// Rows of a pasted or imported text: nothing for an empty text or a declined question, else the
// text split at the delimiter chosen. False, with no rows, when the text is beyond the limits.
bool ParseDelimitedTextToRows(TextRows& rows, const QString& text, const DelimiterQuestion& askDelimiter);
