#include "controls/NumberEditCtrl.h"

#include "platform/ui/Keyboard.h"

#include <limits>

namespace
{
const QString HexDigits = QStringLiteral("0123456789ABCDEFabcdef");
const QString TypedDecimal = QStringLiteral("0123456789-");
// A pasted plus sign (which cannot be typed) may stay.
const QString ChangedDecimal = QStringLiteral("0123456789+-");

constexpr DWORD SpinStyle =
    WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;

bool AllOf(const QString& text, const QString& allowed)
{
    return std::all_of(text.begin(), text.end(), [&](QChar c) { return allowed.contains(c); });
}

// Leading white space, an optional sign, then digits; the value saturates at the ends of int.
int ParseLeadingInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
    {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > std::numeric_limits<int>::max() + 1LL)
            break;
    }
    value = negative ? -value : value;
    return int(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace

const MessageMap* CNumberEditCtrl::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CNumberEditCtrl::OnCreate),
        OnMessage(WM_CHAR, &CNumberEditCtrl::OnChar),
        OnReflectedCommand(EN_UPDATE, &CNumberEditCtrl::OnUpdate),
        OnMessage(UM_NUMBEREDIT_RESTORE, &CNumberEditCtrl::OnRestore),
        OnMessage(WM_ENABLE, &CNumberEditCtrl::OnEnable),
        OnMessage(WM_SHOWWINDOW, &CNumberEditCtrl::OnShowWindow),
    };
    static const MessageMap map{CEdit::GetMessageMap(), entries};
    return &map;
}

CNumberEditCtrl::CNumberEditCtrl() = default;

CNumberEditCtrl::~CNumberEditCtrl()
{
    DestroyWindow();
}

void CNumberEditCtrl::SetupSpin(int minimum, int maximum)
{
    m_spin.Create(SpinStyle, CRect(10, 10, 200, 200), GetParent(), SpinId);
    m_spin.SetBuddy(this);
    m_minimum = minimum;
    m_maximum = maximum;
    m_hexadecimal = false;
    if (m_spin.IsWindow())
        m_spin.SetRange32(minimum, maximum);
}

int CNumberEditCtrl::GetValue() const
{
    return ParseLeadingInteger(GetWindowText());
}

void CNumberEditCtrl::SetValue(int value)
{
    SetWindowText(QString::number(std::clamp(value, m_minimum, std::max(m_minimum, m_maximum))));
}

LRESULT CNumberEditCtrl::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    SetWindowText(QString::number(m_minimum));
    m_lastValid = GetWindowText();
    return 0;
}

LRESULT CNumberEditCtrl::OnChar(WPARAM character, LPARAM)
{
    const QChar c{char16_t(character)};
    if (character < 32 || (GetKeyState(VK_CONTROL) & 0x8000))
        return Default();
    if (m_hexadecimal)
        return HexDigits.contains(c) ? Default() : 0;
    if (!TypedDecimal.contains(c))
        return 0;
    if (c == QLatin1Char('-'))
    {
        int start = 0;
        int end = 0;
        GetSel(start, end);
        if (m_minimum >= 0 || start != 0)
            return 0;
    }
    return Default();
}

LRESULT CNumberEditCtrl::OnUpdate(WPARAM, LPARAM)
{
    const QString text = GetWindowText();
    if (text.isEmpty())
    {
        m_lastValid = QStringLiteral("0");
        SetWindowText(m_lastValid);
        SetSel(0, -1);
        return 0;
    }
    if (AllOf(text, m_hexadecimal ? HexDigits : ChangedDecimal))
        m_lastValid = text;
    else
        PostMessage(UM_NUMBEREDIT_RESTORE);
    return 0;
}

LRESULT CNumberEditCtrl::OnRestore(WPARAM, LPARAM)
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    SetWindowText(m_lastValid);
    SetSel(start, end);
    return 0;
}

LRESULT CNumberEditCtrl::OnEnable(WPARAM enabled, LPARAM)
{
    Default();
    if (m_spin.IsWindow())
        m_spin.EnableWindow(enabled != 0);
    return 0;
}

LRESULT CNumberEditCtrl::OnShowWindow(WPARAM shown, LPARAM)
{
    Default();
    if (m_spin.IsWindow())
        m_spin.ShowWindow(shown ? SW_SHOW : SW_HIDE);
    return 0;
}
