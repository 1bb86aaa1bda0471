#include "app/WndSplash.h"

#include "controls/KVImage.h"
#include "platform/ui/LayeredWindow.h"
#include "platform/ui/SystemParameters.h"

namespace
{
// Colour times alpha over 255, truncated, as the layered window expects its pixels.
QImage Premultiplied(const QImage& picture)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage buffer(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y)
    {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(buffer.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
        {
            const int alpha = qAlpha(in[x]);
            out[x] = qRgba(qRed(in[x]) * alpha / 255, qGreen(in[x]) * alpha / 255, qBlue(in[x]) * alpha / 255,
                           alpha);
        }
    }
    return buffer;
}
} // namespace

const MessageMap* CWndSplash::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_TIMER, &CWndSplash::OnTimer),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CWndSplash::~CWndSplash()
{
    m_picture = QImage();
    DestroyWindow();
}

bool CWndSplash::Create(CWnd* owner)
{
    CKVImage image;
    image.LoadFromResource(PictureId);
    m_picture = image.HasImage() ? Premultiplied(image.GetBitmap()->Image()) : QImage();
    const int width = m_picture.width();
    const int height = m_picture.height();
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (!CreateEx(WS_EX_LAYERED | WS_EX_TOPMOST, QString(), QStringLiteral("Splash"),
                  WS_POPUP | WS_VISIBLE | WS_BORDER, CRect(left, top, left + width, top + height), owner, 0))
        return false;
    GetSafeHwnd()->raise();
    const CPoint position(left, top);
    BLENDFUNCTION blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = 255;
    blend.AlphaFormat = AC_SRC_ALPHA;
    UpdateLayeredWindow(this, &position, CSize(width, height), m_picture, CPoint(0, 0), blend, ULW_ALPHA);
    SetFocus();
    GetSafeHwnd()->raise();
    Invalidate();
    UpdateWindow();
    return true;
}

void CWndSplash::SetEndCommand(CWnd* owner, int command)
{
    m_owner = owner;
    m_endCommand = command;
}

void CWndSplash::SetReady()
{
    m_ready = 1;
    EndWhenDue();
}

LRESULT CWndSplash::OnTimer(WPARAM, LPARAM)
{
    m_elapsed = 1;
    EndWhenDue();
    return 0;
}

void CWndSplash::EndWhenDue()
{
    if (!m_ready || !m_elapsed || m_ended)
        return;
    m_ended = true;
    KillTimer(TimerId);
    DestroyWindow();
    if (m_owner)
        m_owner->PostMessage(WM_COMMAND, MAKEWPARAM(UINT(m_endCommand), 0), 0);
}
