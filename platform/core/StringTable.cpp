#include "platform/core/StringTable.h"

namespace
{
QString Unescape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 == text.size())
        {
            out += c;
            continue;
        }
        const QChar next = text[i + 1];
        if (next == u'n')
            out += u'\n';
        else if (next == u't')
            out += u'\t';
        else if (next == u'\\')
            out += u'\\';
        else
        {
            // Not an escape: both characters stay.
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}
} // namespace

bool CStringTable::Parse(const QByteArray& text, QStringList* problems)
{
    auto report = [problems](int lineNumber, const QString& what)
    {
        if (problems)
            problems->append(QStringLiteral("line %1: %2").arg(lineNumber).arg(what));
    };
    if (text.size() > MaxTableSize)
    {
        report(0, QStringLiteral("table too large"));
        return false;
    }

    bool clean = true;
    const qsizetype start = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int lineNumber = 0;
    for (const QByteArray& lineBytes : text.sliced(start).split('\n'))
    {
        ++lineNumber;
        QByteArrayView line(lineBytes);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab = line.indexOf('\t');
        bool ok = tab > 0;
        const uint id = ok ? line.first(tab).toUInt(&ok) : 0;
        if (!ok || id > 0xFFFF)
        {
            report(lineNumber, QStringLiteral("no id and tab"));
            clean = false;
            continue;
        }
        if (m_strings.contains(id))
        {
            report(lineNumber, QStringLiteral("id %1 repeated").arg(id));
            clean = false;
            continue;
        }
        m_strings.insert(id, Unescape(QString::fromUtf8(line.sliced(tab + 1))));
    }
    return clean;
}
