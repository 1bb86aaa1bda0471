#include "effects/DlgSaveToLibrary.h"
#include "res/dialogs/SaveToLibrary.h"

namespace
{
constexpr UINT TemplateId = IDD_SAVE_TO_LIBRARY;
constexpr int IdName = IDC_NAME;
constexpr int IdCategory = IDC_CATEGORY;
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
