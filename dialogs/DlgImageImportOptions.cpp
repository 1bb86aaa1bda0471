#include "dialogs/DlgImageImportOptions.h"

#include "base/AppSettings.h"
#include "dialogs/ShowHelp.h"
#include "res/dialogs/ImageImportOptions.h"

namespace
{
constexpr UINT TemplateId = IDD_IMAGE_IMPORT_OPTIONS;
constexpr int IdWidthOriginal = IDC_WIDTH_ORIGINAL;
constexpr int IdWidthConstrain = IDC_WIDTH_CONSTRAIN;
constexpr int IdWidthFixed = IDC_IMAGE_IMPORT_OPTIONS_WIDTH_FIXED;
constexpr int IdHeightOriginal = IDC_HEIGHT_ORIGINAL;
constexpr int IdHeightConstrain = IDC_HEIGHT_CONSTRAIN;
constexpr int IdHeightFixed = IDC_IMAGE_IMPORT_OPTIONS_HEIGHT_FIXED;
constexpr int IdConstrainWidth = IDC_CONSTRAIN_WIDTH;
constexpr int IdFixedWidth = IDC_IMAGE_IMPORT_OPTIONS_FIXED_WIDTH;
constexpr int IdConstrainHeight = IDC_CONSTRAIN_HEIGHT;
constexpr int IdFixedHeight = IDC_IMAGE_IMPORT_OPTIONS_FIXED_HEIGHT;
constexpr UINT IdHelp = IDC_HELP;
constexpr int MaximumSize = 2048;
constexpr int EditCharacters = 4;

struct StoredValue
{
    const char* name;
    int CDlgImageImportOptions::*member;
};

constexpr StoredValue StoredValues[] = {
    {"ImportOptionsWidthSetting", &CDlgImageImportOptions::m_widthSetting},
    {"ImportOptionsConstrainWidth", &CDlgImageImportOptions::m_constrainWidth},
    {"ImportOptionsFixedWidth", &CDlgImageImportOptions::m_fixedWidth},
    {"ImportOptionsHeightSetting", &CDlgImageImportOptions::m_heightSetting},
    {"ImportOptionsConstrainHeight", &CDlgImageImportOptions::m_constrainHeight},
    {"ImportOptionsFixedHeight", &CDlgImageImportOptions::m_fixedHeight},
};
} // namespace

const MessageMap* CDlgImageImportOptions::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdWidthOriginal, &CDlgImageImportOptions::OnWidthClicked),
        OnCommand(IdWidthConstrain, &CDlgImageImportOptions::OnWidthClicked),
        OnCommand(IdWidthFixed, &CDlgImageImportOptions::OnWidthClicked),
        OnCommand(IdHeightOriginal, &CDlgImageImportOptions::OnHeightClicked),
        OnCommand(IdHeightConstrain, &CDlgImageImportOptions::OnHeightClicked),
        OnCommand(IdHeightFixed, &CDlgImageImportOptions::OnHeightClicked),
        OnCommand(IdHelp, &CDlgImageImportOptions::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

// The choice belongs to the user: the machine's settings are never asked.
CDlgImageImportOptions::CDlgImageImportOptions(CWnd* parent) : CDialog(TemplateId, parent)
{
    for (const StoredValue& stored : StoredValues)
    {
        quint32 value = 0;
        if (ReadRegDword(HKEY_CURRENT_USER, GetAppRegistryKey(), QLatin1String(stored.name), value))
            this->*stored.member = int(value);
    }
    // A setting that names no choice would leave its group without a checked button.
    for (int* setting : {&m_widthSetting, &m_heightSetting})
    {
        if (*setting < OriginalSize || *setting > FixedSize)
            *setting = OriginalSize;
    }
}

CDlgImageImportOptions::~CDlgImageImportOptions()
{
    DestroyWindow();
}

void CDlgImageImportOptions::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdConstrainWidth, m_constrainWidthEdit);
    DDX_Control(dx, IdFixedWidth, m_fixedWidthEdit);
    DDX_Control(dx, IdConstrainHeight, m_constrainHeightEdit);
    DDX_Control(dx, IdFixedHeight, m_fixedHeightEdit);
    DDX_Radio(dx, IdWidthOriginal, m_widthSetting);
    DDX_Radio(dx, IdHeightOriginal, m_heightSetting);
    DDX_TextInteger(dx, IdConstrainWidth, m_constrainWidth);
    DDX_TextInteger(dx, IdFixedWidth, m_fixedWidth);
    DDX_TextInteger(dx, IdConstrainHeight, m_constrainHeight);
    DDX_TextInteger(dx, IdFixedHeight, m_fixedHeight);
}

bool CDlgImageImportOptions::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (CNumberEditCtrl* edit :
         {&m_constrainWidthEdit, &m_fixedWidthEdit, &m_constrainHeightEdit, &m_fixedHeightEdit})
    {
        edit->SetLimitText(EditCharacters);
        edit->SetupSpin(0, MaximumSize);
    }
    // A stored choice with one fixed axis opens as both fixed.
    if ((m_widthSetting == FixedSize) != (m_heightSetting == FixedSize))
        m_widthSetting = m_heightSetting = FixedSize;
    UpdateData(false);
    EnableEdits();
    return true;
}

void CDlgImageImportOptions::EnableEdits()
{
    m_constrainWidthEdit.EnableWindow(m_widthSetting == ConstrainSize);
    m_fixedWidthEdit.EnableWindow(m_widthSetting == FixedSize);
    m_constrainHeightEdit.EnableWindow(m_heightSetting == ConstrainSize);
    m_fixedHeightEdit.EnableWindow(m_heightSetting == FixedSize);
}

LRESULT CDlgImageImportOptions::OnWidthClicked(WPARAM, LPARAM)
{
    UpdateData(true);
    if (m_widthSetting == FixedSize)
        m_heightSetting = FixedSize;
    else if (m_heightSetting == FixedSize)
        m_heightSetting = OriginalSize;
    UpdateData(false);
    EnableEdits();
    return 0;
}

LRESULT CDlgImageImportOptions::OnHeightClicked(WPARAM, LPARAM)
{
    UpdateData(true);
    if (m_heightSetting == FixedSize)
        m_widthSetting = FixedSize;
    else if (m_widthSetting == FixedSize)
        m_widthSetting = OriginalSize;
    UpdateData(false);
    EnableEdits();
    return 0;
}

void CDlgImageImportOptions::OnOK()
{
    if (!UpdateData(true))
        return;
    for (const StoredValue& stored : StoredValues)
        WriteRegDword(HKEY_CURRENT_USER, GetAppRegistryKey(), QLatin1String(stored.name),
                      quint32(this->*stored.member));
    EndDialog(IDOK);
}

LRESULT CDlgImageImportOptions::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
