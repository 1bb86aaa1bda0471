#include "app/CommandLineSwitches.h"

namespace CommandLineSwitches
{
bool FindFileName(const QString& commandLine, const QString& switchText, QString& name)
{
    const QString opening = switchText + u'"';
    const qsizetype start = commandLine.indexOf(opening);
    if (start < 0)
        return false;
    const qsizetype nameStart = start + opening.size();
    const qsizetype closing = commandLine.indexOf(u'"', nameStart);
    if (closing < 0)
        return false;
    name = commandLine.mid(nameStart, closing - nameStart);
    return true;
}

bool IsProgramFolderName(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(QLatin1String(".."));
}

QString FindDocument(const QStringList& arguments)
{
    for (const QString& argument : arguments)
    {
        if (!argument.isEmpty() && !argument.startsWith(u'-'))
            return argument;
    }
    return {};
}
} // namespace CommandLineSwitches
