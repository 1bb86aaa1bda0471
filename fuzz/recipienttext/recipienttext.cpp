// Decodes arbitrary bytes as an imported text file and splits them into rows at the delimiter
// named by the first byte. Every row and the whole table stay within the limits.
#include "recipients/TextRows.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QChar delimiter = QChar(char16_t(data[0]));
    const QString text =
        DecodeImportText(QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)));
    TextRows rows;
    if (!SplitDelimitedText(text, delimiter, rows))
        return 0;
    qsizetype cells = 0;
    for (const QStringList& row : rows)
    {
        if (row.size() > TextRowLimits::MaxCellsPerRow)
            std::abort();
        cells += row.size();
    }
    if (cells > TextRowLimits::MaxCells)
        std::abort();
    return 0;
}
