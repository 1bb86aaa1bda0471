#include "effects/GrePreview.h"

#include "controls/GreImageCtrl.h"

#include <QApplication>
#include <QPalette>

namespace
{
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr int PreviewId = 4711;
} // namespace

bool CreatePreviewOver(CGreImageCtrl& preview, CWnd& dialog, int frameId)
{
    CWnd* frame = dialog.GetDlgItem(frameId);
    if (!frame)
        return false;
    CRect rect;
    frame->GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    const QColor face = QApplication::palette().color(QPalette::Button);
    preview.m_background =
        0xFF000000u | (quint32(face.red()) << 16) | (quint32(face.green()) << 8) | quint32(face.blue());
    return preview.CreateEx(WS_EX_CLIENTEDGE, QString(), QString(),
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER, rect, &dialog, PreviewId);
}
