#include "platform/ui/DataExchange.h"

#include "platform/core/LeadingInt.h"
#include "platform/ui/Button.h"
#include "platform/ui/WinApp.h"

#include <QRadioButton>

namespace
{
// The control of that id that an exchange cannot do without; a missing one is reported and the
// exchange leaves it out.
CWnd* RequiredItem(const CWnd* dialog, int id)
{
    CWnd& item = dialog->DlgItem(id);
    return item.IsWindow() ? &item : nullptr;
}

// The radio buttons of the group that starts with the control of that id, in creation order.
std::vector<CButton*> RadioGroup(CWnd* dialog, int id)
{
    std::vector<CButton*> group;
    CWnd* first = RequiredItem(dialog, id);
    if (!first || !dialog->GetSafeHwnd())
        return group;
    bool inGroup = false;
    for (QObject* child : dialog->GetSafeHwnd()->children())
    {
        CWnd* wnd = child->isWidgetType() ? CWnd::FromHandle(static_cast<QWidget*>(child)) : nullptr;
        if (!wnd)
            continue;
        if (wnd == first)
            inGroup = true;
        else if (inGroup && (wnd->GetStyle() & WS_GROUP))
            break;
        if (!inGroup)
            continue;
        auto* button = dynamic_cast<CButton*>(wnd);
        if (!button || !qobject_cast<QRadioButton*>(button->GetSafeHwnd()))
            break;
        group.push_back(button);
    }
    return group;
}
} // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (!control.IsWindow() && RequiredItem(dx->m_pDlgWnd, id))
        control.SubclassDlgItem(UINT(id), dx->m_pDlgWnd);
}

void DDX_Text(CDataExchange* dx, int id, QString& value)
{
    CWnd* item = RequiredItem(dx->m_pDlgWnd, id);
    if (!item)
        return;
    if (dx->m_bSaveAndValidate)
        value = item->GetWindowText();
    else if (item->GetWindowText() != value)
        item->SetWindowText(value);
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    QString text = QString::number(value);
    DDX_Text(dx, id, text);
    if (dx->m_bSaveAndValidate)
        value = ReadLeadingInt(text);
}

void CDataExchange::Fail(CWnd* control)
{
    m_failed = true;
    if (control)
        control->SetFocus();
}

void DDX_TextInteger(CDataExchange* dx, int id, int& value)
{
    if (dx->m_failed)
        return;
    QString text = QString::number(value);
    DDX_Text(dx, id, text);
    if (!dx->m_bSaveAndValidate)
        return;
    bool whole = false;
    const int number = text.trimmed().toInt(&whole);
    if (!whole)
    {
        AfxMessageBox(QStringLiteral("Please enter an integer."), MB_OK | MB_ICONEXCLAMATION);
        dx->Fail(dx->m_pDlgWnd->GetDlgItem(id));
        return;
    }
    value = number;
}

void DDV_MinMaxInt(CDataExchange* dx, int id, int value, int minimum, int maximum)
{
    if (dx->m_failed || !dx->m_bSaveAndValidate || (value >= minimum && value <= maximum))
        return;
    AfxMessageBox(QStringLiteral("Please enter an integer between %1 and %2.").arg(minimum).arg(maximum),
                  MB_OK | MB_ICONEXCLAMATION);
    dx->Fail(dx->m_pDlgWnd->GetDlgItem(id));
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    auto* button = dynamic_cast<CButton*>(RequiredItem(dx->m_pDlgWnd, id));
    if (!button)
        return;
    if (dx->m_bSaveAndValidate)
        value = button->GetCheck();
    else
        button->SetCheck(value);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    const std::vector<CButton*> group = RadioGroup(dx->m_pDlgWnd, id);
    if (dx->m_bSaveAndValidate)
    {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
        {
            if (group[i]->GetCheck() == BST_CHECKED)
                value = int(i);
        }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i)
        group[i]->SetCheck(int(i) == value ? BST_CHECKED : BST_UNCHECKED);
}
