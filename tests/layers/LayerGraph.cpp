#include "LayerGraph.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

namespace
{
QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n');
}

QString ResolveTarget(const QDir& root, const QString& includingFile, const QString& target)
{
    const QString beside = QFileInfo(includingFile).path() + u'/' + target;
    if (QFileInfo::exists(root.filePath(beside)))
        return QDir::cleanPath(beside);
    return QDir::cleanPath(target);
}
} // namespace

QStringList ReadLayerOrder(const QString& tableFile)
{
    QStringList order;
    for (const QString& line : ReadLines(tableFile))
    {
        const QString folder = line.trimmed();
        if (!folder.isEmpty() && !folder.startsWith(u'#'))
            order.append(folder);
    }
    return order;
}

QString LayerOf(const QStringList& order, const QString& path)
{
    QString best;
    for (const QString& folder : order)
    {
        if (path.startsWith(folder + u'/') && folder.size() > best.size())
            best = folder;
    }
    return best;
}

QString LibraryOf(const QString& folder)
{
    return QStringLiteral("kv_") + QString(folder).replace(u'/', u'_');
}

std::vector<IncludeLine> ReadIncludes(const QString& root, const QStringList& order)
{
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"));
    const QDir rootDir(root);
    std::vector<IncludeLine> includes;
    for (const QString& folder : order)
    {
        QDirIterator files(rootDir.filePath(folder), {QStringLiteral("*.h"), QStringLiteral("*.cpp")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
        {
            const QString file = rootDir.relativeFilePath(files.next());
            const QString fromLayer = LayerOf(order, file);
            const QStringList lines = ReadLines(rootDir.filePath(file));
            for (int i = 0; i < lines.size(); ++i)
            {
                const QRegularExpressionMatch match = include.match(lines[i]);
                if (!match.hasMatch())
                    continue;
                const QString target = ResolveTarget(rootDir, file, match.captured(1));
                includes.push_back({file, i + 1, target, fromLayer, LayerOf(order, target)});
            }
        }
    }
    return includes;
}

std::map<QString, QStringList> ReadLinks(const QString& linkFile, const QStringList& order)
{
    std::map<QString, QString> folderOfLibrary;
    for (const QString& folder : order)
        folderOfLibrary[LibraryOf(folder)] = folder;
    static const QRegularExpression name(QStringLiteral(R"(\bkv_\w+)"));
    std::map<QString, QStringList> links;
    for (const QString& line : ReadLines(linkFile))
    {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            continue;
        QStringList& linked = links[line.left(colon).trimmed()];
        for (const QRegularExpressionMatch& match : name.globalMatch(line.mid(colon + 1)))
        {
            const auto library = folderOfLibrary.find(match.captured());
            if (library != folderOfLibrary.end() && !linked.contains(library->second))
                linked.append(library->second);
        }
    }
    return links;
}
