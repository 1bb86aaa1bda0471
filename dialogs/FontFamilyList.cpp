#include "dialogs/FontFamilyList.h"

#include "base/TextHelpers.h"

namespace
{
const char* const GenericNames[] = {"sans-serif", "serif", "monospace", "cursive", "fantasy"};

void AppendItem(QString& text, const QString& item)
{
    if (!text.isEmpty())
        text += QLatin1Char(',');
    text += item;
}
} // namespace

int GenericFontFamilyCode(const QString& name)
{
    for (int i = 0; i < int(std::size(GenericNames)); ++i)
    {
        if (name.compare(QLatin1String(GenericNames[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

QString GenericFontFamilyName(int code)
{
    return code >= 1 && code <= int(std::size(GenericNames)) ? QLatin1String(GenericNames[code - 1])
                                                             : QString();
}

FontFamilyList ParseFontFamilyList(const QString& text)
{
    FontFamilyList list;
    QString unquoted = text;
    unquoted.remove(QLatin1Char('"'));
    QStringList segments;
    SplitString(unquoted, segments, QStringLiteral(","));
    for (const QString& segment : segments)
    {
        const QString name = segment.trimmed();
        const int code = GenericFontFamilyCode(name);
        if (code == 0)
            list.names << name;
        else if (list.genericCode == 0)
            list.genericCode = code;
    }
    return list;
}

QString WriteFontFamilyList(const QStringList& names, int genericCode)
{
    QString text;
    for (const QString& row : names)
    {
        const QString name = row.trimmed();
        if (GenericFontFamilyCode(name) != 0)
            continue;
        AppendItem(text, name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name);
    }
    const QString generic = GenericFontFamilyName(genericCode);
    if (!generic.isEmpty())
        AppendItem(text, generic);
    return text;
}
