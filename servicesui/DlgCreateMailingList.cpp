#include "servicesui/DlgCreateMailingList.h"

#include "res/dialogs/CreateMailingList.h"

namespace
{
constexpr UINT TemplateId = IDD_CREATE_MAILING_LIST;
constexpr int IdName = IDC_NAME;
} // namespace

CDlgCreateMailingList::CDlgCreateMailingList() : CDialog(TemplateId) {}

CDlgCreateMailingList::~CDlgCreateMailingList()
{
    DestroyWindow();
}

void CDlgCreateMailingList::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdName, m_name);
}
