#include "app/DlgEasterEgg.h"

#include "platform/ui/GdiplusGraphics.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/SystemParameters.h"

#include <cmath>

namespace
{
constexpr UINT FirstPicture = 324;
constexpr double Pi = 3.14;
constexpr float Damping = 0.9f;
} // namespace

const MessageMap* CDlgEasterEgg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_TIMER, &CDlgEasterEgg::OnTimer),
        OnMessage(WM_PAINT, &CDlgEasterEgg::OnPaint),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgEasterEgg::CDlgEasterEgg(BYTE variant, CWnd* parent) : CDialog(IDD, parent), m_variant(variant) {}

bool CDlgEasterEgg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_picture.LoadFromResource(FirstPicture + m_variant))
    {
        EndDialog(IDCANCEL);
        return true;
    }
    MoveWindow(0, 0, m_picture.GetWidth(), m_picture.GetHeight());
    CRect window;
    GetWindowRect(&window);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_left = (screenWidth - window.Width()) / 2;
    m_restTop = (screenHeight - window.Height()) / 2;
    m_amplitude = float(window.Height() + screenHeight / 2);
    m_step = 0;
    SetTimer(TimerId, TimerMs);
    Step();
    return true;
}

int CDlgEasterEgg::TopAtStep(int restTop, int step, int steps, float amplitude)
{
    const double swing = std::cos(step / 10.0 * Pi) * (1.0 - double(step) / steps) * double(amplitude);
    return restTop - int(swing);
}

void CDlgEasterEgg::Step()
{
    if (m_step >= m_steps)
    {
        m_amplitude = 0;
        KillTimer(TimerId);
    }
    SetWindowPos(nullptr, m_left, TopAtStep(m_restTop, m_step, m_steps, m_amplitude), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    ++m_step;
    m_amplitude *= Damping;
}

LRESULT CDlgEasterEgg::OnTimer(WPARAM, LPARAM)
{
    Step();
    Default();
    return 0;
}

LRESULT CDlgEasterEgg::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    Gdiplus::Graphics graphics(&dc);
    m_picture.Draw(graphics, 0, 0);
    return 0;
}
