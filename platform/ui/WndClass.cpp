#include "platform/ui/WndClass.h"

#include <atomic>

QString AfxRegisterWndClass(UINT classStyle)
{
    static std::atomic<int> next{1};
    return QStringLiteral("Kv:%1:%2").arg(classStyle, 0, 16).arg(next++);
}
