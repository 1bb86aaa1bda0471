// Reads arbitrary bytes as a package text file and fills its placeholders; the text after the
// last placeholder must come through whole.
#include "services/QorxInstaller.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("package.php"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qsizetype(size));
    }
    CQorxInstaller reader;
    int codePage = 0;
    QString text;
    bool bom = false;
    if (reader.ReadTextFile(path, codePage, text, &bom) != 0)
        return 0;
    const CQorxInstaller::PlaceholderMap placeholders{
        {QStringLiteral("QORXSYSTEM_UI_ADMINPASSWORD"), QStringLiteral("p'[x]\"")},
        {QStringLiteral("A"), QString()}};
    const QString filled = reader.ReplacePlaceholders(placeholders, text);
    const qsizetype lastClose = text.lastIndexOf(QLatin1Char(']'));
    const QString tail = text.mid(lastClose + 1);
    // A null result never "ends with" an empty tail in Qt, so only a real tail is compared.
    if (!tail.isEmpty() && !filled.endsWith(tail))
    {
        std::fprintf(stderr, "the end of the text was lost\n");
        std::abort();
    }
    return 0;
}
