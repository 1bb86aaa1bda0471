#include "effects/DlgSaveToLibrary.h"

namespace
{
constexpr UINT TemplateId = 260;
constexpr int IdName = 1333;
constexpr int IdCategory = 1565;
} // namespace

CDlgSaveToLibrary::CDlgSaveToLibrary(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgSaveToLibrary::~CDlgSaveToLibrary()
{
    DestroyWindow();
}

void CDlgSaveToLibrary::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdName, m_name);
    DDX_Text(dx, IdCategory, m_category);
}
