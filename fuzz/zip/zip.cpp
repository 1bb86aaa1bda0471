// Extracts arbitrary bytes as a zip archive into a fresh folder and checks that nothing was
// written outside it.
#include "base/ZipExtractor.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
[[noreturn]] void Fail(const char* what, const QString& path)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(path));
    std::abort();
}

// Where an entry would land if its name were joined to the target as it stands.
QString NaivePlace(const QString& target, const QString& name)
{
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(relative.startsWith(QLatin1Char('/')) ? relative : target + '/' + relative);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The cage holds only the input file and the target folder.
    QTemporaryDir cage;
    if (!cage.isValid())
        return 0;
    const QString input = cage.filePath("input.zip");
    const QString target = cage.filePath("target");
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

    CZipExtractor zip;
    if (!zip.Open(input))
        return 0;
    // Places outside the cage that a careless extractor would write to, and whether they exist.
    QList<QPair<QString, bool>> outside;
    for (int i = 0; i < zip.GetEntryCount(); ++i)
    {
        const QString place = NaivePlace(target, zip.GetEntryName(i));
        if (place != target && !place.startsWith(target + '/') && !place.startsWith(cage.path() + '/'))
            outside.append({place, QFileInfo::exists(place)});
    }
    zip.ExtractAll(target);
    zip.Close();

    for (const auto& [place, existed] : outside)
    {
        if (!existed && QFileInfo::exists(place))
            Fail("written outside the target", place);
    }
    QDirIterator it(cage.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
    {
        const QString path = it.next();
        if (it.fileInfo().isSymLink())
            Fail("link made", path);
        if (path != input && path != target && !path.startsWith(target + '/'))
            Fail("written outside the target", path);
    }
    return 0;
}
