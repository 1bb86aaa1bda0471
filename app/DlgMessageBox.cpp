#include "app/DlgMessageBox.h"

#include "platform/core/AppStrings.h"
#include "platform/ui/ClientDC.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/StandardIcons.h"
#include "res/dialogs/MessageBox.h"

namespace
{

constexpr UINT IDS_OK = 15800;
constexpr UINT IDS_CANCEL = 15801;
constexpr UINT IDS_YES = 15802;
constexpr UINT IDS_NO = 15803;

// Words up to this length wrap like any other; only longer ones (paths, addresses) widen the box.
constexpr int LongWordLength = 29;
constexpr int MeasureHeight = 1000;
constexpr UINT TextFormat = DT_WORDBREAK | DT_NOPREFIX;

// Captions (0: the button is hidden) and results from the rightmost button to the left.
struct ButtonSet
{
    UINT captions[3];
    int results[3];
    bool firstIsDefault;
    bool escapeEnds;
};

ButtonSet ButtonSetFor(UINT type)
{
    switch (type & 0x0F)
    {
    case MB_OKCANCEL:
        return {{IDS_CANCEL, IDS_OK, 0}, {IDCANCEL, IDOK, IDOK}, true, true};
    case MB_YESNOCANCEL:
        return {{IDS_CANCEL, IDS_NO, IDS_YES}, {IDCANCEL, IDNO, IDYES}, false, true};
    case MB_YESNO:
        // One of the two answers must be chosen.
        return {{IDS_NO, IDS_YES, 0}, {IDNO, IDYES, IDOK}, false, false};
    default:
        return {{IDS_OK, 0, 0}, {IDOK, IDOK, IDOK}, true, true};
    }
}
} // namespace

const MessageMap* CDlgMessageBox::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CDlgMessageBox::OnPaint),
        OnCommand(IDC_BUTTON1, &CDlgMessageBox::OnButton1),
        OnCommand(IDC_BUTTON2, &CDlgMessageBox::OnButton2),
        OnCommand(IDC_BUTTON3, &CDlgMessageBox::OnButton3),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgMessageBox::CDlgMessageBox(CWnd* parent) : CDialog(IDD, parent) {}

void CDlgMessageBox::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_BUTTON1, m_button1);
    DDX_Control(dx, IDC_BUTTON2, m_button2);
    DDX_Control(dx, IDC_BUTTON3, m_button3);
    DDX_Control(dx, IDC_SEPARATOR, m_separator);
    DDX_Control(dx, IDC_TEXT, m_textMarker);
    DDX_Control(dx, IDC_ICON, m_icon);
}

bool CDlgMessageBox::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpButtons();
    SetUpIcon();
    FitText();
    return true;
}

void CDlgMessageBox::SetUpButtons()
{
    const ButtonSet set = ButtonSetFor(m_type);
    CButton* const buttons[] = {&m_button1, &m_button2, &m_button3};
    for (int i = 0; i < 3; ++i)
    {
        if (set.captions[i] == 0)
            buttons[i]->ShowWindow(SW_HIDE);
        else
            buttons[i]->SetWindowText(LoadAppString(set.captions[i]));
    }
    m_result1 = set.results[0];
    m_result2 = set.results[1];
    m_result3 = set.results[2];
    m_escapeEnds = set.escapeEnds;
    if (set.firstIsDefault)
        SetDefID(IDC_BUTTON1);
}

void CDlgMessageBox::SetUpIcon()
{
    switch (m_type & 0xF0)
    {
    case MB_ICONERROR:
        m_icon.SetIcon(LoadStandardIcon(IDI_HAND));
        break;
    case MB_ICONQUESTION:
        m_icon.SetIcon(LoadStandardIcon(IDI_QUESTION));
        break;
    case MB_ICONEXCLAMATION:
        m_icon.SetIcon(LoadStandardIcon(IDI_EXCLAMATION));
        break;
    default:
        m_icon.SetIcon(LoadStandardIcon(IDI_ASTERISK));
        break;
    }
}

void CDlgMessageBox::FitText()
{
    m_textMarker.GetWindowRect(&m_textRect);
    ScreenToClient(&m_textRect);
    m_textMarker.ShowWindow(SW_HIDE);

    CClientDC dc(this);
    CFont* previous = dc.SelectObject(m_textMarker.GetFont());
    dc.SetBkMode(TRANSPARENT);

    int width = m_textRect.Width();
    QString flat = m_text;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    for (const QString& word : flat.split(QLatin1Char(' ')))
    {
        if (word.size() <= LongWordLength)
            continue;
        const int wordWidth = dc.GetTextExtent(word).cx;
        if (wordWidth > width)
            width = wordWidth + 1;
    }
    CRect measured(0, 0, width, MeasureHeight);
    const int textHeight = dc.DrawText(m_text, &measured, DT_CALCRECT | TextFormat);
    dc.SelectObject(previous);

    const int dx = std::max(0, width - m_textRect.Width());
    const int dy = std::max(0, textHeight - m_textRect.Height());
    if (dx > 0 || dy > 0)
    {
        CRect client;
        GetClientRect(&client);
        SetWindowPos(nullptr, 0, 0, client.Width() + dx, client.Height() + dy, SWP_NOMOVE | SWP_NOZORDER);
        m_textRect.right += dx;
        m_textRect.bottom += dy;
        m_textMarker.MoveWindow(m_textRect, false);
        MoveControlBy(m_separator, 0, dy, dx);
        MoveControlBy(m_button1, dx, dy, 0);
        MoveControlBy(m_button2, dx, dy, 0);
        MoveControlBy(m_button3, dx, dy, 0);
    }
    CRect icon;
    m_icon.GetWindowRect(&icon);
    ScreenToClient(&icon);
    if (textHeight > icon.Height())
        MoveControlBy(m_icon, 0, (textHeight - icon.Height()) / 2, 0);
}

void CDlgMessageBox::MoveControlBy(CWnd& control, int dx, int dy, int widen)
{
    CRect rect;
    control.GetWindowRect(&rect);
    ScreenToClient(&rect);
    rect.OffsetRect(dx, dy);
    rect.right += widen;
    control.MoveWindow(rect, false);
}

LRESULT CDlgMessageBox::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CFont* previous = dc.SelectObject(m_textMarker.GetFont());
    dc.SetBkMode(TRANSPARENT);
    CRect rect = m_textRect;
    dc.DrawText(m_text, &rect, TextFormat);
    dc.SelectObject(previous);
    return 0;
}

void CDlgMessageBox::OnOK() {}

void CDlgMessageBox::OnCancel()
{
    if (m_escapeEnds)
        EndDialog(m_result1);
}

LRESULT CDlgMessageBox::OnButton1(WPARAM, LPARAM)
{
    EndDialog(m_result1);
    return 0;
}

LRESULT CDlgMessageBox::OnButton2(WPARAM, LPARAM)
{
    EndDialog(m_result2);
    return 0;
}

LRESULT CDlgMessageBox::OnButton3(WPARAM, LPARAM)
{
    EndDialog(m_result3);
    return 0;
}
