#include "platform/gui/FontNames.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>

#include <mutex>

namespace
{
struct FontSubstitute
{
    const char* windowsName;
    const char* family;
};

// Liberation fonts match the metrics of the Windows core fonts; the rest take the nearest look.
constexpr FontSubstitute Substitutes[] = {
    {"ms shell dlg", "Liberation Sans"},
    {"ms shell dlg 2", "Liberation Sans"},
    {"ms sans serif", "Liberation Sans"},
    {"microsoft sans serif", "Liberation Sans"},
    {"arial", "Liberation Sans"},
    {"helvetica", "Liberation Sans"},
    {"tahoma", "DejaVu Sans"},
    {"segoe ui", "DejaVu Sans"},
    {"verdana", "DejaVu Sans"},
    {"trebuchet ms", "DejaVu Sans"},
    {"arial narrow", "Liberation Sans Narrow"},
    {"times new roman", "Liberation Serif"},
    {"times", "Liberation Serif"},
    {"georgia", "DejaVu Serif"},
    {"courier new", "Liberation Mono"},
    {"courier", "Liberation Mono"},
    {"lucida console", "DejaVu Sans Mono"},
};

constexpr const char* FallbackFamily = "Liberation Sans";
constexpr const char* LastResortFamily = "DejaVu Sans";

// Whether a family is installed asks fontconfig to resolve the name each time, which every font a
// window makes would pay again: the answers are kept until the application's fonts change.
bool IsInstalled(const QString& family)
{
    static std::mutex lock;
    static QHash<QString, bool> answers;
    static bool watching = false;
    const std::lock_guard guard(lock);
    if (!watching && qGuiApp)
    {
        watching = true;
        QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged,
                         []
                         {
                             const std::lock_guard guard(lock);
                             answers.clear();
                         });
    }
    const auto known = answers.constFind(family);
    if (known != answers.cend())
        return *known;
    return *answers.insert(family, QFontDatabase::hasFamily(family));
}
} // namespace

QString MapWindowsFontFamily(const QString& windowsName)
{
    const QString key = windowsName.trimmed().toLower();
    for (const FontSubstitute& substitute : Substitutes)
    {
        if (key == QLatin1String(substitute.windowsName) && IsInstalled(substitute.family))
            return QString::fromLatin1(substitute.family);
    }
    if (!key.isEmpty() && IsInstalled(windowsName.trimmed()))
        return windowsName.trimmed();
    return IsInstalled(FallbackFamily) ? QString::fromLatin1(FallbackFamily)
                                       : QString::fromLatin1(LastResortFamily);
}
