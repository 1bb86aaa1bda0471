#include "platform/net/FtpReplies.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{
bool IsAcceptableName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
    {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0) || c == QLatin1Char('/'))
            return false;
    }
    return true;
}

QList<QByteArray> ListingLines(const QByteArray& listing)
{
    QList<QByteArray> lines = listing.split('\n');
    if (lines.size() > FtpReplies::MaxListingEntries)
        lines.resize(FtpReplies::MaxListingEntries);
    for (QByteArray& line : lines)
    {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

void AddEntry(QList<FtpDirectoryEntry>& entries, const QByteArray& name, bool directory)
{
    const QString text = QString::fromUtf8(name);
    if (IsAcceptableName(text))
        entries.append({text, directory});
}

// Skips count blank-separated fields from position and the blanks after the last one; -1 when
// the line ends first.
qsizetype SkipFields(const QByteArray& line, qsizetype position, int count)
{
    for (int i = 0; i < count; ++i)
    {
        while (position < line.size() && line.at(position) == ' ')
            ++position;
        if (position >= line.size())
            return -1;
        while (position < line.size() && line.at(position) != ' ')
            ++position;
    }
    while (position < line.size() && line.at(position) == ' ')
        ++position;
    return position < line.size() ? position : -1;
}

bool ParseUnixLine(const QByteArray& line, QList<FtpDirectoryEntry>& entries)
{
    static const QByteArray types = "-dlbcps";
    if (line.size() < 10 || !types.contains(line.at(0)))
        return false;
    // Permissions, links, owner, group, size, month, day, time or year, then the name.
    const qsizetype nameStart = SkipFields(line, 0, 8);
    if (nameStart < 0)
        return false;
    QByteArray name = line.mid(nameStart);
    if (line.at(0) == 'l')
    {
        const qsizetype arrow = name.indexOf(" -> ");
        if (arrow >= 0)
            name.truncate(arrow);
    }
    if (name == "." || name == "..")
        return true;
    AddEntry(entries, name, line.at(0) == 'd');
    return true;
}

bool ParseDosLine(const QByteArray& line, QList<FtpDirectoryEntry>& entries)
{
    static const QRegularExpression dos(
        QStringLiteral("^\\d{2}-\\d{2}-\\d{2,4}\\s+\\d{1,2}:\\d{2}(?:AM|PM)?\\s+"
                       "(<DIR>|\\d+)\\s+"));
    const QString text = QString::fromUtf8(line);
    const QRegularExpressionMatch match = dos.match(text);
    if (!match.hasMatch())
        return false;
    const QString name = text.mid(match.capturedEnd(0));
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return true;
    if (IsAcceptableName(name))
        entries.append({name, match.captured(1) == QLatin1String("<DIR>")});
    return true;
}
} // namespace

namespace FtpReplies
{
QList<FtpDirectoryEntry> ParseMachineListing(const QByteArray& listing)
{
    QList<FtpDirectoryEntry> entries;
    for (const QByteArray& line : ListingLines(listing))
    {
        // Each fact ends with ";", and one blank separates them from the name.
        const qsizetype blank = line.indexOf(' ');
        if (blank < 0 || (blank > 0 && line.at(blank - 1) != ';'))
            continue;
        QByteArray type;
        for (const QByteArray& fact : line.left(blank).split(';'))
        {
            if (fact.toLower().startsWith("type="))
                type = fact.mid(5).toLower();
        }
        if (type == "cdir" || type == "pdir")
            continue;
        AddEntry(entries, line.mid(blank + 1), type == "dir");
    }
    return entries;
}

QList<FtpDirectoryEntry> ParseListListing(const QByteArray& listing)
{
    QList<FtpDirectoryEntry> entries;
    for (const QByteArray& line : ListingLines(listing))
    {
        if (!ParseUnixLine(line, entries))
            ParseDosLine(line, entries);
    }
    return entries;
}

bool ParseFolderReply(const QByteArray& replies, QString& folder)
{
    const QList<QByteArray> lines = replies.split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line)
    {
        if (!line->startsWith("257"))
            continue;
        const qsizetype open = line->indexOf('"');
        if (open < 0)
            return false;
        QByteArray name;
        for (qsizetype i = open + 1; i < line->size(); ++i)
        {
            const char c = line->at(i);
            if (c != '"')
            {
                name += c;
                continue;
            }
            if (i + 1 < line->size() && line->at(i + 1) == '"')
            {
                name += '"';
                ++i;
                continue;
            }
            const QString named = QString::fromUtf8(name);
            if (named.isEmpty() || named.contains(QChar(0)) || named.contains(QLatin1Char('\r')))
                return false;
            folder = named;
            return true;
        }
        return false;
    }
    return false;
}
QList<int> FinalReplyCodes(const QByteArray& replies)
{
    QList<int> codes;
    for (QByteArray line : replies.split('\n'))
    {
        if (line.endsWith('\r'))
            line.chop(1);
        const bool digits = line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3,
                                                            [](char c) { return c >= '0' && c <= '9'; });
        if (digits && (line.size() == 3 || line.at(3) == ' '))
            codes.append(line.left(3).toInt());
    }
    return codes;
}

bool AnnouncesFeature(const QByteArray& replies, const QByteArray& feature)
{
    for (const QByteArray& line : replies.split('\n'))
    {
        // Feature lines of a FEAT reply begin with a blank.
        const QByteArray trimmed = line.trimmed().toUpper();
        if (line.startsWith(' ') && (trimmed == feature || trimmed.startsWith(feature + ' ')))
            return true;
    }
    return false;
}
} // namespace FtpReplies
