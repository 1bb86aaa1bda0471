#include "platform/ui/DataExchange.h"

#include "platform/ui/Wnd.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (!control.IsWindow())
        control.SubclassDlgItem(UINT(id), dx->m_pDlgWnd);
}

void DDX_Text(CDataExchange* dx, int id, QString& value)
{
    CWnd* item = dx->m_pDlgWnd->GetDlgItem(id);
    if (!item)
        return;
    if (dx->m_bSaveAndValidate)
        value = item->GetWindowText();
    else if (item->GetWindowText() != value)
        item->SetWindowText(value);
}
