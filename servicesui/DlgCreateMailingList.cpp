#include "servicesui/DlgCreateMailingList.h"

namespace
{
constexpr UINT TemplateId = 321;
constexpr int IdName = 1333;
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
