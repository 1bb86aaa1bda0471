#include "platform/ui/ProgressCtrl.h"

#include "platform/ui/WndHost.h"

#include <QProgressBar>

const MessageMap* CProgressCtrl::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(PBM_SETRANGE, &CProgressCtrl::OnSetRange),
        OnMessage(PBM_SETRANGE32, &CProgressCtrl::OnSetRange32),
        OnMessage(PBM_SETPOS, &CProgressCtrl::OnSetPos),
        OnMessage(PBM_GETPOS, &CProgressCtrl::OnGetPos),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

QWidget* CProgressCtrl::CreateHostWidget(QWidget* parent, DWORD, DWORD)
{
    auto* bar = new CWndHost<QProgressBar>(this, parent);
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

void CProgressCtrl::SetRange(short lower, short upper)
{
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
}

void CProgressCtrl::SetRange32(int lower, int upper)
{
    SendMessage(PBM_SETRANGE32, WPARAM(lower), LPARAM(upper));
}

int CProgressCtrl::SetPos(int position)
{
    return int(SendMessage(PBM_SETPOS, WPARAM(position), 0));
}

int CProgressCtrl::GetPos() const
{
    return m_position;
}

LRESULT CProgressCtrl::OnSetRange(WPARAM, LPARAM range)
{
    const LRESULT previous = MAKELPARAM(m_lower, m_upper);
    // Both ends are unsigned 16-bit values: a larger number keeps only its low 16 bits.
    ApplyRange(LOWORD(range), HIWORD(range));
    return previous;
}

LRESULT CProgressCtrl::OnSetRange32(WPARAM lower, LPARAM upper)
{
    const LRESULT previous = MAKELPARAM(m_lower, m_upper);
    ApplyRange(int(lower), int(upper));
    return previous;
}

void CProgressCtrl::ApplyRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    m_position = std::clamp(m_position, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    ShowPosition();
}

LRESULT CProgressCtrl::OnSetPos(WPARAM position, LPARAM)
{
    const int previous = m_position;
    m_position = std::clamp(int(position), std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    ShowPosition();
    return previous;
}

LRESULT CProgressCtrl::OnGetPos(WPARAM, LPARAM)
{
    return m_position;
}

void CProgressCtrl::ShowPosition()
{
    auto* bar = qobject_cast<QProgressBar*>(GetSafeHwnd());
    if (!bar)
        return;
    // An empty range shows an empty bar (Qt would animate a busy bar instead).
    if (m_upper <= m_lower)
    {
        bar->setRange(0, 1);
        bar->setValue(0);
        return;
    }
    bar->setRange(m_lower, m_upper);
    bar->setValue(m_position);
}
