#include "recipients/UserClipboard.h"

#include "base/ArchiveFile.h"
#include "base/PSStreamMemory.h"
#include "base/TextHelpers.h"
#include "ndb/NdbUserList.h"
#include "recipients/RecipientFields.h"
#include "x2/X2Element.h"
#include "x2/X2TextHelpers.h"
#include "x2/X2Validator.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace
{
const QString TypeTag = QStringLiteral("Userlist");
constexpr int FormatMajor = 2;
constexpr int FormatMinor = 1;

QString HtmlCell(const QString& text)
{
    return QStringLiteral("<td>") + (text.isEmpty() ? QStringLiteral("&nbsp;") : text.toHtmlEscaped()) +
           QStringLiteral("</td>");
}

QString TextCell(const QString& text)
{
    QString cell = text;
    cell.replace(u';', u' ');
    if (!cell.startsWith(u'"') && !cell.contains(u'\n') && !cell.contains(u'\r'))
        return cell;
    cell.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + cell + u'"';
}

QString CellText(const QString& text)
{
    QString cell = DecodeCharacterReferences(text);
    cell.remove(u'\r');
    cell.replace(u'\n', u' ');
    return cell.trimmed();
}

// Up to the first NUL, as a C string would end.
QString CutAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}
} // namespace

bool CopyUsersToClipboardPrivate(ndb::CNdbUserList& users, QMimeData& data)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    const ArchiveFileHeader header{TypeTag, FormatMajor, FormatMinor, QStringLiteral("kv"), 4, 3};
    if (!WriteArchiveStream(stream, header, [&users](CPSArchive& archive) { users.Serialize(archive); }))
        return false;
    data.setData(QString::fromLatin1(UserClipboard::UserListMimeType), stream.GetBuffer());
    return true;
}

QString BuildUsersHtmlTable(const ndb::CNdbUserList& users)
{
    QString header = QStringLiteral("<tr>");
    for (const RecipientField& field : GetRecipientFields())
        header += HtmlCell(field.name);
    header += QStringLiteral("</tr>");
    QString body;
    for (const auto& user : users.GetUsers())
    {
        body += QStringLiteral("<tr>");
        for (const RecipientField& field : GetRecipientFields())
            body += HtmlCell(GetRecipientFieldText(*user, field.code));
        body += QStringLiteral("</tr>");
    }
    return QStringLiteral("<html><head><title>Userlist</title></head><body><!--StartFragment -->") +
           QStringLiteral("<table>%1\r\n%2</table>").arg(header, body) +
           QStringLiteral("<!--EndFragment --></body></html>");
}

void SetClipboardHtml(const QString& html, QMimeData& data)
{
    data.setData(QString::fromLatin1(UserClipboard::HtmlMimeType), html.toUtf8());
}

void CopyUsersToClipboardHtml(const ndb::CNdbUserList& users, QMimeData& data)
{
    SetClipboardHtml(BuildUsersHtmlTable(users), data);
}

QString BuildUsersText(const ndb::CNdbUserList& users)
{
    QStringList names;
    for (const RecipientField& field : GetRecipientFields())
        names.append(TextCell(field.name));
    QString body;
    for (const auto& user : users.GetUsers())
    {
        QStringList cells;
        for (const RecipientField& field : GetRecipientFields())
            cells.append(TextCell(GetRecipientFieldText(*user, field.code)));
        body += cells.join(u';') + QStringLiteral("\r\n");
    }
    return names.join(u';') + QStringLiteral("\r\n") + body;
}

void CopyUsersToClipboardText(const ndb::CNdbUserList& users, QMimeData& data)
{
    data.setData(QString::fromLatin1(UserClipboard::TextMimeType), BuildUsersText(users).toUtf8());
}

bool CopyUsersToClipboard(ndb::CNdbUserList& users)
{
    auto data = std::make_unique<QMimeData>();
    if (!CopyUsersToClipboardPrivate(users, *data))
        return false;
    CopyUsersToClipboardHtml(users, *data);
    CopyUsersToClipboardText(users, *data);
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

bool ReadUsersFromPrivateData(const QByteArray& bytes, ndb::CNdbUserList& users)
{
    if (bytes.size() > TextRowLimits::MaxBytes)
        return false;
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    ndb::CNdbUserList read;
    if (!ReadArchiveStream(
            stream,
            [](const ArchiveFileHeader& header)
            { return header.IsReadableAs(TypeTag, FormatMajor, FormatMinor); },
            [&read](CPSArchive& archive) { read.Serialize(archive); }))
        return false;
    users.TakeContentOf(read);
    return true;
}

QString DecodeClipboardHtml(const QByteArray& bytes)
{
    // Some programs put UTF-16 with a byte-order mark; the import's rule tells them apart.
    QString html = CutAtNul(DecodeImportText(bytes));
    // A description header ("Version:0.9", offsets) ends where the markup begins.
    if (html.startsWith(QLatin1String("Version:")))
    {
        const qsizetype markup = html.indexOf(u'<');
        html = markup < 0 ? QString() : html.mid(markup);
    }
    return html;
}

void ParseHtmlTableToRows(const QString& html, TextRows& rows)
{
    rows.clear();
    if (html.size() > TextRowLimits::MaxBytes)
        return;
    CX2Validator document;
    document.ParseHtml(html);
    QList<CX2Element*> tables;
    document.FindElementsByName(tables, QStringLiteral("table"));
    if (tables.size() != 1)
        return;
    QList<CX2Element*> lines;
    document.FindElementsByName(lines, QStringLiteral("tr"), tables.front());
    qsizetype cellCount = 0;
    for (CX2Element* line : lines)
    {
        QList<CX2Element*> cells;
        document.FindElementsByName(cells, QStringLiteral("td"), line);
        cellCount += cells.size();
        if (cells.size() > TextRowLimits::MaxCellsPerRow || cellCount > TextRowLimits::MaxCells)
        {
            rows.clear();
            return;
        }
        QStringList row;
        for (const CX2Element* cell : cells)
        {
            QString text;
            cell->AppendInnerText(text);
            row.append(CellText(text));
        }
        rows.append(row);
    }
}

void ReadUsersFromMimeData(const QMimeData& data, TextRows& table, ndb::CNdbUserList& users,
                           const DelimiterQuestion& askDelimiter)
{
    table.clear();
    const QString privateFormat = QString::fromLatin1(UserClipboard::UserListMimeType);
    if (data.hasFormat(privateFormat))
    {
        ReadUsersFromPrivateData(data.data(privateFormat), users);
        return;
    }
    if (data.hasHtml())
    {
        const QByteArray bytes = data.data(QString::fromLatin1(UserClipboard::HtmlMimeType));
        if (bytes.size() <= TextRowLimits::MaxBytes)
            ParseHtmlTableToRows(DecodeClipboardHtml(bytes), table);
        return;
    }
    if (!data.hasText())
        return;
    const QString text = CutAtNul(data.text());
    if (text.size() > TextRowLimits::MaxBytes)
        return;
    if (IsValidEmailAddress(text))
    {
        table.append(QStringList{text});
        return;
    }
    ParseDelimitedTextToRows(table, text, askDelimiter);
}

void ReadUsersFromClipboard(TextRows& table, ndb::CNdbUserList& users, const DelimiterQuestion& askDelimiter)
{
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData())
        ReadUsersFromMimeData(*data, table, users, askDelimiter);
}
