#include "BrowserHost.h"
#include "editor/TableCases.h"

#include <QRandomGenerator>

using namespace TableCases;

namespace
{
// Each cell's grid place as the engine lays it out, per table of the page: row, column, rows and
// columns, read from the cells' rectangles; every column is 10 pixels wide, every row 12 high.
const char* const LaidOutCells = R"((function () {
    return Array.from(document.querySelectorAll('table')).map((table) => {
        const left = table.getBoundingClientRect().left;
        const tops = Array.from(table.rows).map((row) => Math.round(row.getBoundingClientRect().top));
        return Array.from(table.rows).flatMap((row) => Array.from(row.cells)).map((c) => {
            const b = c.getBoundingClientRect();
            const top = Math.round(b.top);
            return [tops.indexOf(top), Math.round((b.left - left) / 10), tops.filter((t) => t >= top && t < Math.round(b.bottom)).length,
                    Math.round(b.width / 10)];
        });
    });
})())";

// An irregular table of five thousand cells: rows of different lengths, spans of up to three
// columns and four rows, and spans to the end of the row group.
std::vector<TableRowSpec> LargeIrregularTable()
{
    QRandomGenerator random(23);
    std::vector<TableRowSpec> rows;
    int ref = 1;
    for (int count = 0; count < 5000;)
    {
        TableRowSpec row{100000 + int(rows.size()), int(rows.size()) / 40, {}};
        const int length = random.bounded(1, 12);
        for (int i = 0; i < length && count < 5000; ++i, ++count)
            row.cells.push_back({ref++, random.bounded(1, 4), random.bounded(0, 5)});
        rows.push_back(row);
    }
    return rows;
}
} // namespace

// The grid of each case table equals the one the engine lays out: irregular rows, overlapping
// spans, row spans past the end of their group or of 0, empty rows, and a table of 5000 cells.
TEST(TableLayout, GridEqualsTheEnginesLayout)
{
    std::vector<std::vector<TableRowSpec>> tables;
    for (const char* text :
         {"A B C / D E F / G H I", "Ac2 B / C D E", "Ar2 B / C / D E", "A B / C D E", "A B C / D",
          "Ar5 B / C", "Ar0 B / C / D", "Ar0 B / C | D E", "Ar2 / B C", "A Br2 / Cc2", "A / / B",
          "Ar3 B / / C", "Ar1000000 B / C", "Ac1000000 B / C D", "Ac3 Br2 / C D / E F G"})
        tables.push_back(Table(text));
    tables.push_back(LargeIrregularTable());

    std::string html =
        "<html><head><style>table { border-collapse: collapse; table-layout: fixed; margin: 4px; }"
        " td { padding: 0; border: 0; overflow: hidden; font-size: 2px; } tr { height: 12px; "
        "}</style></head><body>";
    // Every column gets a width of its own, also one that only spanning cells reach.
    for (const auto& table : tables)
    {
        CTableGrid written;
        written.Build(table, 0);
        std::string columns = "<colgroup>";
        for (int column = 0; column < written.GetColumns(); ++column)
            columns += "<col style=\"width: 10px\">";
        const std::string markup =
            TableHtml(table, " style=\"width: " + std::to_string(10 * written.GetColumns()) + "px\"");
        const std::size_t open = markup.find('>') + 1;
        html += markup.substr(0, open) + columns + "</colgroup>" + markup.substr(open);
    }
    html += "</body></html>";

    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.NavigateAndWait(pages.Put("tables.html", QString::fromStdString(html))));
    const QVariantList laidOut = host.Run(QLatin1String(LaidOutCells)).toList();
    ASSERT_EQ(laidOut.size(), qsizetype(tables.size()));

    auto document = host.Document();
    ASSERT_TRUE(document);
    const std::vector<CHtmlElement> elements = document->GetElementsByTagName(QStringLiteral("table"));
    for (std::size_t t = 0; t < tables.size(); ++t)
    {
        // The grid is built from what the page reports, as the editor reads it.
        QVariant rows;
        ASSERT_TRUE(
            CIEBrowser::CallLibrary(host.browser, QStringLiteral("tableRows"), {elements[t].GetRef()}, rows));
        std::vector<TableRowSpec> read;
        for (const QVariant& rowValue : rows.toList())
        {
            TableRowSpec spec{rowValue.toMap()["ref"].toInt(), rowValue.toMap()["group"].toInt(), {}};
            for (const QVariant& cell : rowValue.toMap()["cells"].toList())
                spec.cells.push_back(
                    {cell.toList()[0].toInt(), cell.toList()[1].toInt(), cell.toList()[2].toInt()});
            read.push_back(spec);
        }
        CTableGrid grid;
        grid.Build(read, 0);
        const QVariantList cells = laidOut[qsizetype(t)].toList();
        ASSERT_EQ(qsizetype(grid.GetCells().size()), cells.size()) << t;
        for (std::size_t i = 0; i < grid.GetCells().size(); ++i)
        {
            const CTableGrid::Cell& cell = grid.GetCells()[i];
            const QVariantList place = cells[qsizetype(i)].toList();
            const std::vector<int> laid = {place.value(0).toInt(), place.value(1).toInt(),
                                           place.value(2).toInt(), place.value(3).toInt()};
            EXPECT_EQ((std::vector<int>{cell.row, cell.column, cell.rowSpan, cell.colSpan}), laid)
                << "table " << t << " cell " << i;
            if (HasFailure())
                return;
        }
    }
}
