// Loads arbitrary bytes as an import profile file. A profile that loads is saved again and must
// load back to the same mapping; one that does not load keeps the mapping it had.
#include "recipients/UserImportProfile.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
QString ScratchPath(const char* name)
{
    return QDir::tempPath() + QStringLiteral("/kv-fuzz-nprof-%1-%2").arg(getpid()).arg(QLatin1String(name));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = ScratchPath("in.nprof");
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    CUserImportProfile profile;
    const ImportMapping before = profile.GetMapping();
    if (!profile.Load(input))
    {
        if (profile.GetMapping() != before)
            std::abort();
        return 0;
    }
    const QString again = ScratchPath("again.nprof");
    CUserImportProfile reread;
    if (!profile.Save(again, QString()) || !reread.Load(again) || reread.GetMapping() != profile.GetMapping())
        std::abort();
    return 0;
}
