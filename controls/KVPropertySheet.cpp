#include "controls/KVPropertySheet.h"

#include "platform/core/AppStrings.h"

CKVPropertySheet::CKVPropertySheet(const QString& caption, CWnd* parent) : CPropertySheet(caption, parent, 0)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
}

void CKVPropertySheet::UseProgramButtonCaptions()
{
    QString* captions[] = {&m_okCaption,   &m_cancelCaption, &m_helpCaption,
                           &m_backCaption, &m_nextCaption,   &m_finishCaption};
    quint32 id = 3005; // "OK" to "Finish", in this order
    for (QString* caption : captions)
        *caption = LoadAppString(id++);
}

bool CKVPropertySheet::OnInitDialog()
{
    CPropertySheet::OnInitDialog();
    // The buttons are children of the sheet's top-level window: the sheet itself when it is a
    // dialog of its own.
    CWnd* top = GetSafeHwnd() ? CWnd::FromHandle(GetSafeHwnd()->window()) : nullptr;
    if (!top)
        top = this;
    const std::pair<int, const QString*> captions[] = {
        {IDOK, &m_okCaption},         {IDCANCEL, &m_cancelCaption}, {IDHELP, &m_helpCaption},
        {ID_WIZBACK, &m_backCaption}, {ID_WIZNEXT, &m_nextCaption}, {ID_WIZFINISH, &m_finishCaption},
    };
    for (const auto& [id, caption] : captions)
    {
        if (caption->isEmpty())
            continue;
        if (CWnd* button = top->GetDlgItem(id))
            button->SetWindowText(*caption);
    }
    return true;
}
