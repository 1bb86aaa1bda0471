#pragma once

#include "recipients/TextRows.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

// What python's csv module reads from a file's bytes, the encoding found by the import's rule:
// a byte-order mark, else UTF-8 when it decodes, else Windows-1252.
inline TextRows PythonCsvRows(const QString& path, QChar delimiter)
{
    static const char* const reader = R"(
import csv, io, json, sys
data = open(sys.argv[1], 'rb').read()
if data.startswith(b'\xef\xbb\xbf'): text = data[3:].decode('utf-8')
elif data.startswith(b'\xff\xfe') or data.startswith(b'\xfe\xff'): text = data.decode('utf-16')
else:
    try: text = data.decode('utf-8')
    except UnicodeDecodeError: text = data.decode('cp1252')
print(json.dumps(list(csv.reader(io.StringIO(text, newline=''), delimiter=sys.argv[2]))))
)";
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(reader), path, delimiter});
    EXPECT_TRUE(python.waitForFinished(20000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    TextRows rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
    {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray())
            cells.append(cell.toString());
        rows.append(cells);
    }
    return rows;
}
