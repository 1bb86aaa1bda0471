#include "platform/ui/ScrollBars.h"

#include "platform/ui/Wnd.h"

#include <QPointer>
#include <QScrollBar>
#include <algorithm>

struct CScrollBars::BarState
{
    // Deleted with the owner's widget; a window made again gets new bars.
    QPointer<QScrollBar> widget;
    SCROLLINFO info;
    bool shown = false;
    bool syncing = false;
};

namespace
{
UINT CodeOf(int action)
{
    switch (action)
    {
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    default:
        return SB_THUMBTRACK;
    }
}
} // namespace

CScrollBars::CScrollBars(CWnd* owner) : m_owner(owner) {}

CScrollBars::~CScrollBars() = default;

void CScrollBars::Ensure()
{
    QWidget* parent = m_owner->GetSafeHwnd();
    if (!parent)
        return;
    for (int bar : {SB_HORZ, SB_VERT})
    {
        if (!m_bars[bar])
            m_bars[bar] = std::make_unique<BarState>();
        BarState& b = *m_bars[bar];
        if (b.widget)
            continue;
        b.widget = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, parent);
        b.widget->hide();
        QScrollBar* widget = b.widget;
        const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
        QObject::connect(widget, &QAbstractSlider::actionTriggered, widget,
                         [this, bar, widget, message](int action)
                         {
                             BarState& state = *m_bars[bar];
                             if (state.syncing || action == QAbstractSlider::SliderNoAction)
                                 return;
                             const int track = widget->sliderPosition();
                             m_owner->SendMessage(message, MAKEWPARAM(CodeOf(action), unsigned(track)), 0);
                             // The window chose the position; Qt applies the slider position after this
                             // signal.
                             if (m_bars[bar])
                                 widget->setSliderPosition(m_bars[bar]->info.nPos);
                         });
        QObject::connect(widget, &QAbstractSlider::sliderReleased, widget,
                         [this, message, bar, widget]
                         {
                             m_owner->SendMessage(
                                 message, MAKEWPARAM(SB_THUMBPOSITION, unsigned(widget->sliderPosition())),
                                 0);
                             m_owner->SendMessage(message, SB_ENDSCROLL, 0);
                             if (m_bars[bar])
                                 Sync(bar);
                         });
    }
}

QScrollBar* CScrollBars::Bar(int bar) const
{
    return m_bars[bar] ? m_bars[bar]->widget : nullptr;
}

void CScrollBars::Sync(int bar)
{
    BarState& b = *m_bars[bar];
    if (!b.widget)
        return;
    b.syncing = true;
    const int page = int(b.info.nPage);
    b.widget->setRange(b.info.nMin, std::max(b.info.nMin, b.info.nMax - std::max(page - 1, 0)));
    b.widget->setPageStep(std::max(page, 1));
    b.widget->setSingleStep(1);
    b.widget->setValue(b.info.nPos);
    b.syncing = false;
}

void CScrollBars::SetScrollInfo(int bar, const SCROLLINFO& info, bool)
{
    Ensure();
    if (!m_bars[bar])
        return;
    SCROLLINFO& own = m_bars[bar]->info;
    if (info.fMask & SIF_RANGE)
    {
        own.nMin = info.nMin;
        own.nMax = info.nMax;
    }
    if (info.fMask & SIF_PAGE)
        own.nPage = info.nPage;
    if (info.fMask & SIF_POS)
        own.nPos = info.nPos;
    const int upper = std::max(own.nMin, own.nMax - std::max(int(own.nPage) - 1, 0));
    own.nPos = std::clamp(own.nPos, own.nMin, upper);
    Sync(bar);
}

SCROLLINFO CScrollBars::GetScrollInfo(int bar) const
{
    return m_bars[bar] ? m_bars[bar]->info : SCROLLINFO{};
}

int CScrollBars::GetScrollPos(int bar) const
{
    return m_bars[bar] ? m_bars[bar]->info.nPos : 0;
}

int CScrollBars::GetTrackPos(int bar) const
{
    const QScrollBar* widget = Bar(bar);
    return widget ? widget->sliderPosition() : GetScrollPos(bar);
}

int CScrollBars::SetScrollPos(int bar, int pos, bool redraw)
{
    const int previous = GetScrollPos(bar);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    SetScrollInfo(bar, info, redraw);
    return previous;
}

void CScrollBars::EnableScrollBar(int bar, bool enable)
{
    Ensure();
    if (m_bars[bar] && m_bars[bar]->widget)
        m_bars[bar]->widget->setEnabled(enable);
}

void CScrollBars::ShowScrollBar(int bar, bool show)
{
    Ensure();
    if (!m_bars[bar] || m_bars[bar]->shown == show)
        return;
    m_bars[bar]->shown = show;
    Layout();
}

bool CScrollBars::IsShown(int bar) const
{
    return m_bars[bar] && m_bars[bar]->shown && m_bars[bar]->widget;
}

CRect CScrollBars::GetClientRect() const
{
    CRect rect;
    m_owner->GetClientRect(&rect);
    if (IsShown(SB_VERT))
        rect.right = std::max(rect.left, rect.right - m_bars[SB_VERT]->widget->sizeHint().width());
    if (IsShown(SB_HORZ))
        rect.bottom = std::max(rect.top, rect.bottom - m_bars[SB_HORZ]->widget->sizeHint().height());
    return rect;
}

void CScrollBars::Layout()
{
    const CRect client = GetClientRect();
    CRect window;
    m_owner->GetClientRect(&window);
    if (m_bars[SB_VERT] && m_bars[SB_VERT]->widget)
    {
        QScrollBar* v = m_bars[SB_VERT]->widget;
        v->setGeometry(client.right, 0, window.right - client.right, client.bottom);
        v->setVisible(m_bars[SB_VERT]->shown);
    }
    if (m_bars[SB_HORZ] && m_bars[SB_HORZ]->widget)
    {
        QScrollBar* h = m_bars[SB_HORZ]->widget;
        h->setGeometry(0, client.bottom, client.right, window.bottom - client.bottom);
        h->setVisible(m_bars[SB_HORZ]->shown);
    }
}
