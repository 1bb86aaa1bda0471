#include "recipients/VCardReader.h"

#include "base/AnsiCodePage.h"
#include "recipients/TextRows.h"

#include <QStringDecoder>

namespace
{
QString Unescape(QStringView text, bool fullEscapes)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        if (text[i] != u'\\' || i + 1 >= text.size())
        {
            result += text[i];
            continue;
        }
        const QChar next = text[++i];
        if (next == u';' || next == u'\\')
            result += next;
        else if (fullEscapes && (next == u'n' || next == u'N'))
            result += u'\n';
        else if (fullEscapes && next == u',')
            result += next;
        else
            result += u'\\' + QString(next);
    }
    return result;
}

QString DecodeCharset(const QByteArray& bytes, const QString& charset)
{
    const QString name = charset.toLower();
    if (name.isEmpty())
        return DecodeImportText(bytes);
    if (name == u"windows-1252" || name == u"cp1252" || name == u"iso-8859-1" || name == u"latin1" ||
        name == u"us-ascii")
        return AnsiCodePage::ToText(bytes);
    QStringDecoder decoder(name.toLatin1().constData());
    if (!decoder.isValid())
        return DecodeImportText(bytes);
    return decoder.decode(bytes);
}

// A content line split into its name, its parameters and its raw value bytes.
struct ContentLine
{
    QString name;
    QList<QPair<QString, QString>> parameters; // upper-case names; a bare parameter has no name
    QByteArray value;

    QString Parameter(const QString& wanted) const
    {
        for (const auto& [key, value] : parameters)
        {
            if (key == wanted)
                return value;
        }
        return {};
    }
    bool IsQuotedPrintable() const
    {
        for (const auto& [key, value] : parameters)
        {
            if ((key.isEmpty() || key == u"ENCODING") &&
                value.compare(u"QUOTED-PRINTABLE", Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }
};

// Splits at the first ":" outside a quoted parameter value; false for a line without one.
bool SplitContentLine(const QByteArray& line, ContentLine& content)
{
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size() && colon < 0; ++i)
    {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            colon = i;
    }
    if (colon <= 0)
        return false;
    const QStringList head = QString::fromUtf8(line.left(colon)).split(u';');
    content.name = head.front().section(u'.', -1).trimmed().toUpper();
    for (qsizetype i = 1; i < head.size(); ++i)
    {
        const qsizetype equals = head[i].indexOf(u'=');
        QString value = equals < 0 ? head[i] : head[i].mid(equals + 1);
        value.remove(u'"');
        content.parameters.append(
            {equals < 0 ? QString() : head[i].left(equals).trimmed().toUpper(), value.trimmed()});
    }
    content.value = line.mid(colon + 1);
    return !content.name.isEmpty();
}

VCardProperty MakeProperty(const ContentLine& content)
{
    VCardProperty property;
    property.name = content.name;
    for (const auto& [key, value] : content.parameters)
    {
        if (key.isEmpty() || key == u"TYPE")
        {
            for (const QString& type : value.split(u',', Qt::SkipEmptyParts))
                property.types.append(type.trimmed().toUpper());
        }
        else if (key == u"PREF")
            property.preferred = true;
    }
    property.preferred = property.preferred || property.types.contains(QStringLiteral("PREF"));
    const QByteArray bytes =
        content.IsQuotedPrintable() ? QByteArray::fromPercentEncoding(content.value, '=') : content.value;
    property.value = DecodeCharset(bytes, content.Parameter(QStringLiteral("CHARSET")));
    return property;
}

// The logical lines of the data: folded lines joined, quoted-printable soft breaks joined.
QList<QByteArray> LogicalLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    bool softBreak = false;
    for (QByteArray line : bytes.split('\n'))
    {
        if (line.endsWith('\r'))
            line.chop(1);
        const bool folded = !lines.isEmpty() && (line.startsWith(' ') || line.startsWith('\t'));
        if (softBreak && !lines.isEmpty())
            lines.back() += line;
        else if (folded)
            lines.back() += line.mid(1);
        else
            lines.append(line);
        const QByteArray& last = lines.back();
        softBreak = last.endsWith('=') && last.left(last.indexOf(':')).toUpper().contains("QUOTED-PRINTABLE");
        if (softBreak)
            lines.back().chop(1);
    }
    return lines;
}

QByteArray ToUtf8Bytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return DecodeImportText(bytes).toUtf8();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    return bytes;
}
} // namespace

bool VCard::IsContact() const
{
    for (const VCardProperty& property : properties)
    {
        const QString value = property.value.trimmed().toLower();
        if (property.name == u"KIND" && !value.isEmpty() && value != u"individual")
            return false;
        if (property.name == u"X-ADDRESSBOOKSERVER-KIND" && value == u"group")
            return false;
        if (property.name == u"X-EVOLUTION-LIST" && value == u"true")
            return false;
    }
    return true;
}

const VCardProperty* VCard::Find(const QString& name) const
{
    for (const VCardProperty& property : properties)
    {
        if (property.name == name)
            return &property;
    }
    return nullptr;
}

QStringList VCard::Components(const VCardProperty& property) const
{
    QStringList components;
    const QString& value = property.value;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= value.size(); ++i)
    {
        if (i < value.size() && value[i] == u'\\')
        {
            ++i;
            continue;
        }
        if (i == value.size() || value[i] == u';')
        {
            components.append(Unescape(QStringView(value).sliced(start, i - start), version != u"2.1"));
            start = i + 1;
        }
    }
    return components;
}

QString VCard::Text(const VCardProperty& property) const
{
    return Unescape(property.value, version != u"2.1");
}

bool ReadVCards(const QByteArray& bytes, QList<VCard>& cards)
{
    if (bytes.size() > VCardLimits::MaxBytes)
        return false;
    QList<VCard> read;
    int depth = 0;
    for (const QByteArray& line : LogicalLines(ToUtf8Bytes(bytes)))
    {
        ContentLine content;
        if (!SplitContentLine(line, content))
            continue;
        const QString value = QString::fromUtf8(content.value).trimmed().toUpper();
        if (content.name == u"BEGIN" && value == u"VCARD")
        {
            if (depth++ == 0)
                read.append(VCard());
            continue;
        }
        if (content.name == u"END" && value == u"VCARD" && depth > 0)
        {
            --depth;
            continue;
        }
        // Properties of a nested card (an agent) belong to no contact.
        if (depth != 1)
            continue;
        VCard& card = read.back();
        if (card.properties.size() >= VCardLimits::MaxPropertiesPerCard)
            return false;
        if (content.name == u"VERSION")
            card.version = QString::fromUtf8(content.value).trimmed();
        else
            card.properties.append(MakeProperty(content));
    }
    cards.append(read);
    return true;
}
