#include "platform/ui/PropertySheet.h"

#include "platform/core/AppStrings.h"
#include "platform/ui/Notify.h"
#include "platform/ui/SystemParameters.h"

#include <QFrame>
#include <QSignalBlocker>

namespace
{
constexpr int Margin = 7;
constexpr int PageInset = 4;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int ButtonGap = 6;
constexpr quint32 OkTextId = 15800;
constexpr quint32 CancelTextId = 15801;
constexpr quint32 BackTextId = 3008;
constexpr quint32 NextTextId = 3009;
constexpr quint32 FinishTextId = 3010;
} // namespace

const MessageMap* CPropertySheet::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IDHELP, &CPropertySheet::OnHelp),
        OnCommand(ID_WIZBACK, &CPropertySheet::OnWizardBack),
        OnCommand(ID_WIZNEXT, &CPropertySheet::OnWizardNext),
        OnCommand(ID_WIZFINISH, &CPropertySheet::OnWizardFinish),
        OnMessage(PSM_SETWIZBUTTONS, &CPropertySheet::OnSetWizardButtons),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CPropertySheet::CPropertySheet(const QString& caption, CWnd* parent, UINT selectPage)
    : CDialog(0, parent), m_caption(caption), m_parentWnd(parent)
{
    m_psh.nStartPage = selectPage;
}

CPropertySheet::~CPropertySheet()
{
    DestroyWindow();
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    if (page)
        m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[std::size_t(index)] : nullptr;
}

bool CPropertySheet::CreateDialogWindow(UINT, CWnd* parent)
{
    NONCLIENTMETRICS metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_sheetFont.CreateFontIndirect(&metrics.lfMessageFont);
    if (!CreateEx(0, QString(), m_caption, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                  CRect(0, 0, 100, 100), parent ? parent : m_parentWnd, 0))
        return false;
    SetFont(&m_sheetFont, false);
    m_active = -1;
    m_buttons.clear();

    // The frame goes first so that the pages lie above it.
    auto* frame = new QFrame(GetSafeHwnd());
    frame->setFrameShape(QFrame::StyledPanel);
    m_tabs = new QTabBar(GetSafeHwnd());
    m_tabs->setFont(m_sheetFont.ToQFont());
    m_tabs->setDrawBase(false);
    m_tabs->setVisible(!IsWizard());
    int pageWidth = 0;
    int pageHeight = 0;
    for (CPropertyPage* page : m_pages)
    {
        page->Create(page->GetTemplateId(), this);
        CRect rect;
        page->GetClientRect(&rect);
        pageWidth = std::max(pageWidth, rect.Width());
        pageHeight = std::max(pageHeight, rect.Height());
        m_tabs->addTab(page->GetWindowText());
    }
    const int tabHeight = IsWizard() ? 0 : m_tabs->sizeHint().height();
    const QRect frameRect(Margin, Margin + tabHeight, pageWidth + 2 * PageInset, pageHeight + 2 * PageInset);
    frame->setGeometry(frameRect);
    m_tabs->setGeometry(Margin + 2, Margin, frameRect.width() - 4, tabHeight);
    for (CPropertyPage* page : m_pages)
        page->MoveWindow(frameRect.x() + PageInset, frameRect.y() + PageInset, pageWidth, pageHeight, false);

    if (IsWizard())
        frame->setFrameShape(QFrame::NoFrame);

    const std::vector<std::pair<int, QString>> buttons = ButtonRow();
    const int rowWidth = int(buttons.size()) * (ButtonWidth + ButtonGap) - ButtonGap;
    const int width = std::max(frameRect.right() + 1 + Margin, rowWidth + 2 * Margin);
    const int buttonTop = frameRect.bottom() + 1 + Margin;
    if (IsWizard())
    {
        auto* line = new QFrame(GetSafeHwnd());
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(Margin, buttonTop - Margin / 2 - 1, width - 2 * Margin, 2);
    }
    int x = width - Margin - rowWidth;
    for (const auto& [id, text] : buttons)
    {
        const bool isDefault = id == IDOK || id == ID_WIZNEXT;
        AddButton(id, text, isDefault ? BS_DEFPUSHBUTTON : 0, x, buttonTop);
        // Finish lies on Next, shown in its place; Next sits against Back.
        if (id != ID_WIZBACK && id != ID_WIZNEXT)
            x += ButtonWidth + ButtonGap;
        else if (id == ID_WIZBACK)
            x += ButtonWidth;
    }
    if (CWnd* apply = GetDlgItem(ID_APPLY_NOW))
        apply->EnableWindow(false);
    MoveWindow(0, 0, width, buttonTop + ButtonHeight + Margin, false);
    GetSafeHwnd()->setAttribute(Qt::WA_Moved, false);
    if (IsWizard())
        SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    else
        SetDefID(IDOK);

    QObject::connect(m_tabs, &QTabBar::currentChanged, m_tabs, [this](int index) { SetActivePage(index); });
    const int start = m_psh.nStartPage < m_pages.size() ? int(m_psh.nStartPage) : 0;
    SetActivePage(start);
    return true;
}

std::vector<std::pair<int, QString>> CPropertySheet::ButtonRow() const
{
    std::vector<std::pair<int, QString>> buttons;
    if (IsWizard())
        buttons = {{ID_WIZBACK, LoadAppString(BackTextId)},
                   {ID_WIZNEXT, LoadAppString(NextTextId)},
                   {ID_WIZFINISH, LoadAppString(FinishTextId)},
                   {IDCANCEL, LoadAppString(CancelTextId)}};
    else
        buttons = {{IDOK, LoadAppString(OkTextId)}, {IDCANCEL, LoadAppString(CancelTextId)}};
    if (!IsWizard() && !(m_psh.dwFlags & PSH_NOAPPLYNOW))
        buttons.emplace_back(ID_APPLY_NOW, QStringLiteral("&Apply"));
    if (m_psh.dwFlags & PSH_HASHELP)
        buttons.emplace_back(IDHELP, QStringLiteral("Help"));
    return buttons;
}

void CPropertySheet::SetWizardButtons(DWORD flags)
{
    CWnd* back = GetDlgItem(ID_WIZBACK);
    CWnd* next = GetDlgItem(ID_WIZNEXT);
    CWnd* finish = GetDlgItem(ID_WIZFINISH);
    if (!back || !next || !finish)
        return;
    const bool finishing = flags & PSWIZB_FINISH;
    back->EnableWindow(flags & PSWIZB_BACK);
    next->EnableWindow(flags & PSWIZB_NEXT);
    next->ShowWindow(finishing ? SW_HIDE : SW_SHOW);
    finish->ShowWindow(finishing ? SW_SHOW : SW_HIDE);
    SetDefID(finishing ? ID_WIZFINISH : ID_WIZNEXT);
}

LRESULT CPropertySheet::OnSetWizardButtons(WPARAM, LPARAM flags)
{
    SetWizardButtons(DWORD(flags));
    return 0;
}

LRESULT CPropertySheet::OnWizardBack(WPARAM, LPARAM)
{
    if (IsWizard() && m_active > 0)
        SetActivePage(m_active - 1);
    return 0;
}

LRESULT CPropertySheet::OnWizardNext(WPARAM, LPARAM)
{
    if (IsWizard() && m_active + 1 < GetPageCount())
        SetActivePage(m_active + 1);
    return 0;
}

LRESULT CPropertySheet::OnWizardFinish(WPARAM, LPARAM)
{
    CPropertyPage* current = GetActivePage();
    if (!IsWizard() || (current && current->IsWindow() && !current->OnWizardFinish()))
        return 0;
    for (CPropertyPage* page : m_pages)
        page->OnOK();
    EndDialog(ID_WIZFINISH);
    return 0;
}

void CPropertySheet::AddButton(int id, const QString& text, DWORD style, int x, int y)
{
    auto button = std::make_unique<CButton>();
    if (button->CreateEx(0, QStringLiteral("button"), text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                         CRect(x, y, x + ButtonWidth, y + ButtonHeight), this, UINT(id)))
    {
        button->SetFont(&m_sheetFont, false);
        m_buttons.push_back(std::move(button));
    }
}

bool CPropertySheet::SetActivePage(int index)
{
    CPropertyPage* next = GetPage(index);
    if (!next || !next->IsWindow())
        return false;
    if (index != m_active)
    {
        if (CPropertyPage* current = GetActivePage())
        {
            // A page that refuses to be left stays, and so does its tab.
            if (current->IsWindow() && !current->OnKillActive())
            {
                if (m_tabs)
                {
                    const QSignalBlocker block(m_tabs.data());
                    m_tabs->setCurrentIndex(m_active);
                }
                return false;
            }
            current->ShowWindow(SW_HIDE);
        }
        m_active = index;
        if (IsWizard())
            SetWindowText(next->GetWindowText().isEmpty() ? m_caption : next->GetWindowText());
        next->ShowWindow(SW_SHOW);
        next->OnSetActive();
    }
    if (m_tabs && m_tabs->currentIndex() != index)
    {
        const QSignalBlocker block(m_tabs.data());
        m_tabs->setCurrentIndex(index);
    }
    return true;
}

void CPropertySheet::OnOK()
{
    CPropertyPage* current = GetActivePage();
    if (current && current->IsWindow() && !current->OnKillActive())
        return;
    for (CPropertyPage* page : m_pages)
        page->OnOK();
    EndDialog(IDOK);
}

LRESULT CPropertySheet::OnHelp(WPARAM, LPARAM)
{
    CPropertyPage* page = GetActivePage();
    if (!page || !page->IsWindow())
        return 0;
    NMHDR header{this, 0, PSN_HELP};
    page->SendMessage(WM_NOTIFY, 0, LPARAM(&header));
    return 0;
}

void CPropertySheet::OnCancel()
{
    CPropertyPage* current = GetActivePage();
    if (current && current->IsWindow() && !current->OnQueryCancel())
        return;
    for (CPropertyPage* page : m_pages)
        page->OnCancel();
    EndDialog(IDCANCEL);
}
