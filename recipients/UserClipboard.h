#pragma once

#include "recipients/TextRows.h"

#include <QByteArray>
#include <QString>

class QMimeData;
namespace ndb
{
class CNdbUserList;
}

// Recipients on the clipboard, in three formats set together: whole records in a private format
// of ours, an HTML table and plain text, the last two with the columns of the recipient field
// table under a header row. A paste takes the first of the three that the clipboard holds.
namespace UserClipboard
{
// The private format: one archive with the header "Userlist" 2.1 and the recipient list.
inline constexpr char UserListMimeType[] = "application/x-kelvora-userlist";
inline constexpr char HtmlMimeType[] = "text/html";
inline constexpr char TextMimeType[] = "text/plain";
} // namespace UserClipboard

// Not const: writing runs the list's Serialize, which serves both directions.
bool CopyUsersToClipboardPrivate(ndb::CNdbUserList& users, QMimeData& data);
void CopyUsersToClipboardHtml(const ndb::CNdbUserList& users, QMimeData& data);
void CopyUsersToClipboardText(const ndb::CNdbUserList& users, QMimeData& data);
// The page of the HTML format: every cell text escaped, an empty cell "&nbsp;".
QString BuildUsersHtmlTable(const ndb::CNdbUserList& users);
void SetClipboardHtml(const QString& html, QMimeData& data);
// Lines of values joined by ";", each ended by CR LF; a ";" inside a value becomes a blank, and
// a value that holds a line break or begins with a quote is quoted, so it pastes back whole.
QString BuildUsersText(const ndb::CNdbUserList& users);
// Puts all three formats on the system clipboard at once; false when the private one failed.
bool CopyUsersToClipboard(ndb::CNdbUserList& users);

// Fills at most one of table and users from the first format the data holds. A text that is one
// e-mail address as a whole becomes one row of one cell; any other text asks for its delimiter.
void ReadUsersFromMimeData(const QMimeData& data, TextRows& table, ndb::CNdbUserList& users,
                           const DelimiterQuestion& askDelimiter);
void ReadUsersFromClipboard(TextRows& table, ndb::CNdbUserList& users, const DelimiterQuestion& askDelimiter);

// Replaces users with the recipients of the private format; false, users untouched, for data
// that is not a recipient list of format 2.1 or older or does not read whole.
bool ReadUsersFromPrivateData(const QByteArray& bytes, ndb::CNdbUserList& users);
// The rows of the one table of the page: nothing when it holds no table or several. Cell texts
// have their character references decoded, line breaks made blanks and white space trimmed.
void ParseHtmlTableToRows(const QString& html, TextRows& rows);
// The page of pasted HTML bytes (UTF-8, or UTF-16 after a byte-order mark), without the
// description header that some programs put first.
QString DecodeClipboardHtml(const QByteArray& bytes);
