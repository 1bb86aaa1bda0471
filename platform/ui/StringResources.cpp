#include "platform/ui/StringResources.h"

#include "platform/ui/ResourceModule.h"
#include "res/ResourceInit.h"

#include <QFile>
#include <QHash>

namespace
{
QString Unescape(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size())
        {
            result += c;
            continue;
        }
        const QChar next = text[++i];
        if (next == QLatin1Char('n'))
            result += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            result += QLatin1Char('\t');
        else
            result += next;
    }
    return result;
}

QHash<UINT, QString> ReadTable(const QString& path)
{
    QHash<UINT, QString> table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return table;
    const QString content = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(content).split(QLatin1Char('\n')))
    {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        bool ok = false;
        const UINT id = tab > 0 ? line.left(tab).toUInt(&ok) : 0;
        if (ok)
            table.insert(id, Unescape(line.mid(tab + 1)));
    }
    return table;
}
} // namespace

QString LoadResourceString(UINT id)
{
    InitKelvoraResources();
    static QString loadedRoot;
    static QHash<UINT, QString> table;
    if (loadedRoot != ResourceModule::Root())
    {
        loadedRoot = ResourceModule::Root();
        table = ReadTable(loadedRoot + QStringLiteral("strings/en.txt"));
    }
    return table.value(id);
}
