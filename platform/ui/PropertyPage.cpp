#include "platform/ui/PropertyPage.h"

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId), m_pageTemplateId(templateId) {}

bool CPropertyPage::OnSetActive()
{
    return true;
}

bool CPropertyPage::OnKillActive()
{
    return UpdateData(true);
}

bool CPropertyPage::OnWizardFinish()
{
    return true;
}

bool CPropertyPage::OnQueryCancel()
{
    return true;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}
