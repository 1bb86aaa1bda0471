#include "res/ResourceInit.h"

#include <QtGlobal>
#include <mutex>

void InitKelvoraResources()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(kelvora_res); });
}
