#include "platform/ui/SystemParameters.h"

#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>
#include <algorithm>
#include <cmath>

namespace
{
// Qt does not tell the desktop's repeat delay; the usual setting (500 ms) stands in.
constexpr int UsualKeyboardDelay = 1;

// The speed scale runs from about 2.5 repeats a second (0) to about 30 (31).
int KeyboardSpeedFromRate(int repeatsPerSecond)
{
    const double speed = (repeatsPerSecond - 2.5) * 31.0 / 27.5;
    return std::clamp(int(std::lround(speed)), 0, 31);
}

LOGFONT LogFontOf(const QFont& font)
{
    LOGFONT description;
    description.lfFaceName = font.family();
    int pixels = font.pixelSize();
    if (pixels <= 0)
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
        pixels = int(std::lround(font.pointSizeF() * dpi / 72.0));
    }
    description.lfHeight = -std::max(pixels, 1);
    description.lfWeight = int(font.weight());
    description.lfItalic = font.italic() ? 1 : 0;
    return description;
}
} // namespace

bool SystemParametersInfo(UINT action, UINT, void* value, UINT)
{
    if (!value)
        return false;
    switch (action)
    {
    case SPI_GETKEYBOARDDELAY:
        *static_cast<int*>(value) = UsualKeyboardDelay;
        return true;
    case SPI_GETKEYBOARDSPEED:
        *static_cast<int*>(value) =
            KeyboardSpeedFromRate(QGuiApplication::styleHints()->keyboardAutoRepeatRate());
        return true;
    case SPI_GETNONCLIENTMETRICS:
    {
        auto* metrics = static_cast<NONCLIENTMETRICS*>(value);
        metrics->lfMenuFont = LogFontOf(QApplication::font("QMenu"));
        metrics->lfMessageFont = LogFontOf(QApplication::font("QMessageBox"));
        return true;
    }
    default:
        return false;
    }
}

bool GetCursorPos(CPoint* point)
{
    *point = CPoint(QCursor::pos());
    return true;
}

int GetSystemMetrics(int index)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    switch (index)
    {
    case SM_CXSCREEN:
        return screen ? screen->geometry().width() : 0;
    case SM_CYSCREEN:
        return screen ? screen->geometry().height() : 0;
    case SM_CXVSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    default:
        return 0;
    }
}
