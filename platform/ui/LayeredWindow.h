#pragma once

#include "platform/ui/Point.h"
#include "platform/ui/Size.h"
#include "platform/ui/WinTypes.h"

#include <QtGui/qwindowdefs.h>

class CWnd;
class QImage;
class QWidget;

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
constexpr DWORD ULW_ALPHA = 0x00000002;

struct BLENDFUNCTION
{
    BYTE BlendOp = AC_SRC_OVER;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = 0;
};

// The widget behind a top-level window made with WS_EX_LAYERED: it shows only the picture that
// UpdateLayeredWindow gives it, over a see-through background, and nothing until then.
QWidget* CreateLayeredHost(CWnd* wnd, QWidget* owner, Qt::WindowFlags flags);

// Gives a layered window its whole look: size.cx x size.cy pixels of the source picture from
// sourcePoint on, the window moved to position (null: where it is). The source holds
// premultiplied colour (QImage::Format_ARGB32_Premultiplied), as a 32-bit device-independent
// bitmap does. With ULW_ALPHA and
// AC_SRC_ALPHA each pixel's alpha lets what lies behind the window show through, and the
// constant alpha fades the whole picture; otherwise the picture is opaque. False when the
// window was not made layered.
bool UpdateLayeredWindow(CWnd* wnd, const CPoint* position, const CSize& size, const QImage& source,
                         CPoint sourcePoint, const BLENDFUNCTION& blend, DWORD flags);
