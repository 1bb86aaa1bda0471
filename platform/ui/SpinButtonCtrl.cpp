#include "platform/ui/SpinButtonCtrl.h"

#include "platform/ui/KeyboardRepeat.h"
#include "platform/ui/PaintDC.h"

#include <QKeyEvent>
#include <QPolygon>
#include <functional>

namespace
{
constexpr int ArrowsWidth = 16;

// Lets the Up and Down keys of the buddy step the number.
class ArrowKeyFilter : public QObject
{
public:
    explicit ArrowKeyFilter(std::function<void(int)> step) : m_step(std::move(step)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
        {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down)
            {
                m_step(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> m_step;
};

void DrawArrowHalf(QPainter* painter, const QRect& half, bool up, bool pressed, bool enabled)
{
    painter->fillRect(half, pressed ? QColor(0xC4, 0xD6, 0xEA) : QColor(0xEE, 0xF1, 0xF5));
    painter->setPen(QColor(0x8E, 0x9B, 0xAA));
    painter->drawRect(half.adjusted(0, 0, -1, -1));
    const QPoint c = half.center();
    const int s = std::max(2, std::min(half.width(), half.height()) / 4);
    QPolygon arrow;
    if (up)
        arrow << QPoint(c.x() - s, c.y() + s / 2) << QPoint(c.x() + s, c.y() + s / 2)
              << QPoint(c.x(), c.y() - s / 2 - 1);
    else
        arrow << QPoint(c.x() - s, c.y() - s / 2) << QPoint(c.x() + s, c.y() - s / 2)
              << QPoint(c.x(), c.y() + s / 2 + 1);
    painter->setPen(Qt::NoPen);
    painter->setBrush(enabled ? QColor(0x2E, 0x4A, 0x66) : QColor(0xA0, 0xA0, 0xA0));
    painter->drawPolygon(arrow);
}
} // namespace

const MessageMap* CSpinButtonCtrl::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CSpinButtonCtrl::OnPaint),
        OnMessage(WM_LBUTTONDOWN, &CSpinButtonCtrl::OnLButtonDown),
        OnMessage(WM_LBUTTONUP, &CSpinButtonCtrl::OnLButtonUp),
        OnMessage(WM_TIMER, &CSpinButtonCtrl::OnTimer),
        OnMessage(WM_CANCELMODE, &CSpinButtonCtrl::OnCancelMode),
        OnMessage(UDM_SETBUDDY, &CSpinButtonCtrl::OnSetBuddy),
        OnMessage(UDM_SETRANGE32, &CSpinButtonCtrl::OnSetRange32),
        OnMessage(UDM_SETPOS32, &CSpinButtonCtrl::OnSetPos32),
        OnMessage(UDM_GETPOS32, &CSpinButtonCtrl::OnGetPos32),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CSpinButtonCtrl::CSpinButtonCtrl() = default;

// Qt forgets a deleted event filter by itself.
CSpinButtonCtrl::~CSpinButtonCtrl() = default;

bool CSpinButtonCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(QString(), QString(), style, rect, parent, id);
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy)
{
    return reinterpret_cast<CWnd*>(SendMessage(UDM_SETBUDDY, WPARAM(buddy), 0));
}

void CSpinButtonCtrl::SetRange32(int lower, int upper)
{
    SendMessage(UDM_SETRANGE32, WPARAM(lower), LPARAM(upper));
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const
{
    lower = m_lower;
    upper = m_upper;
}

int CSpinButtonCtrl::SetPos32(int position)
{
    return int(SendMessage(UDM_SETPOS32, 0, LPARAM(position)));
}

LRESULT CSpinButtonCtrl::OnSetBuddy(WPARAM buddyParam, LPARAM)
{
    CWnd* previous = m_buddy;
    if (previous && previous->GetSafeHwnd() && m_keyFilter)
        previous->GetSafeHwnd()->removeEventFilter(m_keyFilter.get());
    m_buddy = reinterpret_cast<CWnd*>(buddyParam);
    if (!m_buddy || !m_buddy->GetSafeHwnd())
        return LRESULT(previous);
    QWidget* buddy = m_buddy->GetSafeHwnd();
    if (GetStyle() & UDS_ALIGNRIGHT)
    {
        // The arrows take the right end of the buddy's place.
        const QRect place = buddy->geometry();
        const int width = std::min(ArrowsWidth, place.width());
        m_buddy->MoveWindow(place.x(), place.y(), place.width() - width, place.height());
        MoveWindow(place.x() + place.width() - width, place.y(), width, place.height());
    }
    if (GetStyle() & UDS_ARROWKEYS)
    {
        m_keyFilter = std::make_unique<ArrowKeyFilter>([this](int direction) { Step(direction); });
        buddy->installEventFilter(m_keyFilter.get());
    }
    return LRESULT(previous);
}

LRESULT CSpinButtonCtrl::OnSetRange32(WPARAM lower, LPARAM upper)
{
    m_lower = int(lower);
    m_upper = int(upper);
    return 0;
}

LRESULT CSpinButtonCtrl::OnSetPos32(WPARAM, LPARAM position)
{
    const int previous = m_position;
    m_position = std::clamp(int(position), std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    return previous;
}

LRESULT CSpinButtonCtrl::OnGetPos32(WPARAM, LPARAM)
{
    return m_position;
}

void CSpinButtonCtrl::Step(int direction)
{
    if (!IsWindowEnabled())
        return;
    const bool buddyInt = m_buddy && m_buddy->IsWindow() && (GetStyle() & UDS_SETBUDDYINT);
    int current = m_position;
    if (buddyInt)
    {
        bool ok = false;
        const int typed = m_buddy->GetWindowText().trimmed().toInt(&ok);
        if (ok)
            current = typed;
    }
    // A range given upside down steps the other way.
    const int delta = m_upper >= m_lower ? direction : -direction;
    const long long next = std::clamp<long long>(static_cast<long long>(current) + delta,
                                                 std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    m_position = int(next);
    if (buddyInt && m_buddy->GetWindowText() != QString::number(m_position))
        m_buddy->SetWindowText(QString::number(m_position));
}

LRESULT CSpinButtonCtrl::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int middle = client.Height() / 2;
    const bool enabled = IsWindowEnabled();
    DrawArrowHalf(dc.Painter(), QRect(0, 0, client.Width(), middle), true, m_pressedArrow > 0, enabled);
    DrawArrowHalf(dc.Painter(), QRect(0, middle, client.Width(), client.Height() - middle), false,
                  m_pressedArrow < 0, enabled);
    return 0;
}

LRESULT CSpinButtonCtrl::OnLButtonDown(WPARAM, LPARAM lParam)
{
    CRect client;
    GetClientRect(&client);
    m_pressedArrow = GET_Y_LPARAM(lParam) < client.Height() / 2 ? 1 : -1;
    SetCapture();
    Step(m_pressedArrow);
    SetTimer(RepeatTimer, UINT(CurrentRepeatDelayMs()));
    Invalidate();
    return 0;
}

LRESULT CSpinButtonCtrl::OnLButtonUp(WPARAM, LPARAM)
{
    if (GetCapture() == this)
        ReleaseCapture();
    StopRepeat();
    return 0;
}

LRESULT CSpinButtonCtrl::OnTimer(WPARAM, LPARAM)
{
    if (m_pressedArrow == 0)
        return 0;
    Step(m_pressedArrow);
    SetTimer(RepeatTimer, UINT(CurrentRepeatIntervalMs()));
    return 0;
}

LRESULT CSpinButtonCtrl::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    if (GetCapture() == this)
        ReleaseCapture();
    StopRepeat();
    return 0;
}

void CSpinButtonCtrl::StopRepeat()
{
    KillTimer(RepeatTimer);
    m_pressedArrow = 0;
    Invalidate();
}
