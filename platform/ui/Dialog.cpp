#include "platform/ui/Dialog.h"

#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/ProgressCtrl.h"
#include "platform/ui/SpinButtonCtrl.h"
#include "platform/ui/Static.h"
#include "platform/ui/TreeCtrl.h"
#include "platform/ui/WndHost.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <cmath>

namespace
{
std::unique_ptr<CWnd> MakeControl(const QString& className)
{
    if (className == QLatin1String("button"))
        return std::make_unique<CButton>();
    if (className == QLatin1String("edit"))
        return std::make_unique<CEdit>();
    if (className == QLatin1String("msctls_progress32"))
        return std::make_unique<CProgressCtrl>();
    if (className == QLatin1String("msctls_updown32"))
        return std::make_unique<CSpinButtonCtrl>();
    if (className == QLatin1String("SysTreeView32"))
        return std::make_unique<CTreeCtrl>();
    if (className == QLatin1String("combobox"))
        return std::make_unique<CComboBox>();
    if (className == QLatin1String("listbox"))
        return std::make_unique<CListBox>();
    if (className == QLatin1String("SysListView32"))
        return std::make_unique<CListCtrl>();
    return std::make_unique<CStatic>();
}

LOGFONT DialogFontDescription(const DialogTemplate& dialog)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    LOGFONT description;
    description.lfFaceName = dialog.fontFace;
    description.lfHeight = -int(std::lround(dialog.fontPointSize * dpi / 72.0));
    return description;
}
} // namespace

const MessageMap* CDialog::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_INITDIALOG, &CDialog::OnInitDialogMessage),
        OnCommand(IDOK, &CDialog::OnOKCommand),
        OnCommand(IDCANCEL, &CDialog::OnCancelCommand),
        OnMessage(WM_CLOSE, &CDialog::OnClose),
        OnMessage(DM_GETDEFID, &CDialog::OnGetDefID),
        OnMessage(DM_SETDEFID, &CDialog::OnSetDefID),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parentWnd(parent) {}

CDialog::~CDialog()
{
    DestroyWindow();
}

QWidget* CDialog::CreateHostWidget(QWidget* parent, DWORD style, DWORD)
{
    if (style & WS_CHILD)
        return new CWndHost<QWidget>(this, parent);
    Qt::WindowFlags flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint;
    // A dialog without a caption is a bare popup: no frame, no title, no close box.
    if (!(style & WS_CAPTION))
        flags |= Qt::FramelessWindowHint;
    else
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if ((style & WS_SYSMENU) && (style & WS_CAPTION))
        flags |= Qt::WindowCloseButtonHint;
    return new CWndHost<QDialog>(this, parent ? parent->window() : nullptr, flags);
}

bool CDialog::CreateFromTemplate(UINT templateId, CWnd* parent)
{
    if (IsWindow())
        return false;
    m_ended = false;
    m_result = -1;
    // The default button belongs to the window: a dialog shown again starts from its template.
    m_defId = 0;
    if (!CreateDialogWindow(templateId, parent))
        return false;
    SendMessage(WM_INITDIALOG, 0, 0);
    return true;
}

bool CDialog::CreateDialogWindow(UINT templateId, CWnd* parent)
{
    DialogTemplate dialog;
    if (!LoadDialogTemplate(templateId, &dialog))
        return false;
    const LOGFONT font = DialogFontDescription(dialog);
    m_dialogFont.CreateFontIndirect(&font);
    const CDialogUnits units(m_dialogFont.ToQFont());
    const bool child = (dialog.style & WS_CHILD) && parent;
    const DWORD style =
        child ? dialog.style & ~WS_VISIBLE : (dialog.style & ~(WS_VISIBLE | WS_CHILD)) | WS_POPUP;
    const CRect client(0, 0, units.ToPixelsX(dialog.width), units.ToPixelsY(dialog.height));
    if (!CreateEx(0, QString(), dialog.caption, style, client, parent, 0))
        return false;
    SetFont(&m_dialogFont, false);
    // Qt centres a dialog over its parent when it is first shown, unless it was placed.
    if (!child)
        GetSafeHwnd()->setAttribute(Qt::WA_Moved, false);
    CreateControls(dialog);
    return true;
}

void CDialog::CreateControls(const DialogTemplate& dialog)
{
    const CDialogUnits units(m_dialogFont.ToQFont());
    QLabel* mnemonicLabel = nullptr;
    // Radio buttons exclude each other only within their group, which runs from a control with
    // the group style to the next such control: one dialog may hold several groups.
    QButtonGroup* radios = nullptr;
    for (const DialogItemTemplate& item : dialog.items)
    {
        if (item.style & WS_GROUP)
            radios = nullptr;
        std::unique_ptr<CWnd> control = MakeControl(item.className);
        if (!control->CreateEx(0, item.className, item.text, item.style, units.ToPixels(item.rect), this,
                               item.id))
            continue;
        control->SetFont(&m_dialogFont, false);
        // A label's "&" marks the key that moves the focus to the control after it.
        if (mnemonicLabel)
            mnemonicLabel->setBuddy(control->GetSafeHwnd());
        auto* label = qobject_cast<QLabel*>(control->GetSafeHwnd());
        mnemonicLabel = label && item.text.contains(QLatin1Char('&')) ? label : nullptr;
        if (auto* radio = qobject_cast<QRadioButton*>(control->GetSafeHwnd()))
        {
            if (!radios)
                radios = new QButtonGroup(GetSafeHwnd());
            radios->addButton(radio);
        }
        if ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && item.className == QLatin1String("button"))
            m_defId = item.id;
        m_controls.push_back(std::move(control));
    }
}

INT_PTR CDialog::DoModal()
{
    if (!CreateFromTemplate(m_templateId, m_parentWnd))
        return -1;
    m_modal = true;
    if (!m_ended)
        static_cast<QDialog*>(GetSafeHwnd())->exec();
    m_modal = false;
    DestroyWindow();
    m_controls.clear();
    return m_result;
}

bool CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    m_parentWnd = parent;
    return CreateFromTemplate(templateId, parent);
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    m_ended = true;
    if (auto* dialog = qobject_cast<QDialog*>(GetSafeHwnd()))
    {
        if (m_modal)
            dialog->done(result);
        else
            dialog->hide();
    }
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_failed;
}

void CDialog::SetDefID(UINT id)
{
    SendMessage(DM_SETDEFID, id, 0);
}

void CDialog::MapDialogRect(CRect* rect) const
{
    *rect = CDialogUnits(m_dialogFont.ToQFont()).ToPixels(*rect);
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM)
{
    if (OnInitDialog())
        FocusFirstTabStop();
    return 0;
}

void CDialog::FocusFirstTabStop()
{
    for (const auto& control : m_controls)
    {
        CWnd* wnd = GetDlgItem(int(control->GetDlgCtrlID()));
        if (wnd && (wnd->GetStyle() & WS_TABSTOP) && wnd->GetSafeHwnd() && !wnd->GetSafeHwnd()->isHidden() &&
            wnd->IsWindowEnabled())
        {
            wnd->SetFocus();
            return;
        }
    }
}

LRESULT CDialog::OnOKCommand(WPARAM, LPARAM)
{
    OnOK();
    return 0;
}

LRESULT CDialog::OnCancelCommand(WPARAM, LPARAM)
{
    OnCancel();
    return 0;
}

LRESULT CDialog::OnClose(WPARAM, LPARAM)
{
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return 0;
}

LRESULT CDialog::OnGetDefID(WPARAM, LPARAM)
{
    return m_defId ? LRESULT(MAKELPARAM(int(m_defId), int(DC_HASDEFID))) : 0;
}

LRESULT CDialog::OnSetDefID(WPARAM id, LPARAM)
{
    m_defId = UINT(id);
    for (const auto& control : m_controls)
    {
        CWnd* wnd = GetDlgItem(int(control->GetDlgCtrlID()));
        if (auto* button = wnd ? qobject_cast<QPushButton*>(wnd->GetSafeHwnd()) : nullptr)
            button->setDefault(wnd->GetDlgCtrlID() == m_defId);
    }
    return 1;
}

UINT CDialog::EnterCommand() const
{
    // A push button that has the focus is the default one while it has it, so Enter presses it.
    QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<QPushButton*>(focus) && GetSafeHwnd() && GetSafeHwnd()->isAncestorOf(focus))
    {
        if (CWnd* button = FromHandle(focus); button && button->GetDlgCtrlID() != 0)
            return UINT(button->GetDlgCtrlID());
    }
    return m_defId ? m_defId : UINT(IDOK);
}

bool CDialog::TranslateEvent(QEvent* event, bool* result)
{
    // Escape and Enter in a child dialog belong to the dialog around it.
    if (event->type() == QEvent::KeyPress && !(GetStyle() & WS_CHILD))
    {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && key->key() == Qt::Key_Escape)
        {
            SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            key->accept();
            *result = true;
            return true;
        }
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
        {
            SendMessage(WM_COMMAND, MAKEWPARAM(EnterCommand(), BN_CLICKED), 0);
            key->accept();
            *result = true;
            return true;
        }
    }
    return CWnd::TranslateEvent(event, result);
}
