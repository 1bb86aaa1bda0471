#include "recipients/DlgUserImportMap.h"

#include "base/AppSettings.h"
#include "dialogs/ShowHelp.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/FileDialog.h"
#include "recipients/DlgUserImportMapField.h"
#include "recipients/RecipientFields.h"
#include "recipients/UserImportProfile.h"
#include "res/dialogs/UserImportMap.h"

#include <set>

namespace
{
constexpr UINT TemplateId = IDD_USER_IMPORT_MAP;
constexpr int IdList = IDC_USER_IMPORT_MAP_LIST;
constexpr int IdHeader = IDC_HEADER;
constexpr UINT IdLoad = IDC_USER_IMPORT_MAP_LOAD;
constexpr UINT IdSave = IDC_SAVE;
constexpr UINT IdEdit = IDC_EDIT;
constexpr UINT IdClear = IDC_CLEAR;
constexpr UINT IdHelp = IDC_HELP;
const QString ProfileSetting = QStringLiteral("SavePath_UserImportProfile");
const QString Arrow = QStringLiteral("<-----");

QString ProfileFilter()
{
    return LoadAppString(12703) + QStringLiteral(" (*.nprof)|*.nprof||");
}
} // namespace

QString FormatSourceColumn(int column, const QString& sample)
{
    return QStringLiteral("%1   (%2)").arg(column + 1, 2).arg(sample);
}

const MessageMap* CDlgUserImportMap::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdLoad, &CDlgUserImportMap::OnLoadProfile),
        OnCommand(IdSave, &CDlgUserImportMap::OnSaveProfile),
        OnCommand(IdEdit, &CDlgUserImportMap::OnEditMapping),
        OnCommand(IdClear, &CDlgUserImportMap::OnClearMapping),
        OnNotify(NM_DBLCLK, &CDlgUserImportMap::OnListDoubleClick),
        OnCommand(IdHelp, &CDlgUserImportMap::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgUserImportMap::CDlgUserImportMap(CUserImportProfile& profile, const TextRows& rows,
                                     ndb::CNdbUserList& target, CWnd* parent)
    : CDialog(TemplateId, parent), m_profile(profile), m_rows(rows), m_target(target)
{
}

CDlgUserImportMap::~CDlgUserImportMap()
{
    DestroyWindow();
}

void CDlgUserImportMap::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdList, m_list);
    DDX_Check(dx, IdHeader, m_header);
}

bool CDlgUserImportMap::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.InsertColumn(0, LoadAppString(12700), LVCFMT_LEFT, 150);
    m_list.InsertColumn(1, LoadAppString(12701), LVCFMT_LEFT, 60);
    m_list.InsertColumn(2, LoadAppString(12702), LVCFMT_LEFT, 200);
    FillMappingList();
    return true;
}

void CDlgUserImportMap::FillMappingList()
{
    m_list.DeleteAllItems();
    const QStringList sample = m_rows.isEmpty() ? QStringList() : m_rows.front();
    std::set<int> usedColumns;
    for (const auto& [code, column] : m_profile.GetMapping())
        usedColumns.insert(column);
    for (const RecipientField& field : GetRecipientFields())
    {
        const int item = m_list.InsertItem(m_list.GetItemCount(), field.name);
        m_list.SetItemText(item, 1, Arrow);
        const int column = m_profile.FindColumn(field.code);
        if (column >= 0 && column < sample.size())
            m_list.SetItemText(item, 2, FormatSourceColumn(column, sample[column]));
        m_list.SetItemData(item, UINT_PTR(field.code));
    }
    for (int column = 0; column < sample.size(); ++column)
    {
        if (usedColumns.count(column) != 0)
            continue;
        const int item = m_list.InsertItem(m_list.GetItemCount(), QString());
        m_list.SetItemText(item, 1, Arrow);
        m_list.SetItemText(item, 2, FormatSourceColumn(column, sample[column]));
        m_list.SetItemData(item, UINT_PTR(-1));
    }
}

void CDlgUserImportMap::Reselect(int index)
{
    m_list.SetSelectionMark(index);
    m_list.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

LRESULT CDlgUserImportMap::OnLoadProfile(WPARAM, LPARAM)
{
    CFileDialog dialog(true, QStringLiteral("nprof"), GetSettingFolder(ProfileSetting),
                       OFN_EXPLORER | OFN_ENABLESIZING, ProfileFilter(), this);
    if (dialog.DoModal() != IDOK)
        return 0;
    m_profile.Load(dialog.GetPathName());
    FillMappingList();
    return 0;
}

LRESULT CDlgUserImportMap::OnSaveProfile(WPARAM, LPARAM)
{
    CFileDialog dialog(false, QStringLiteral("nprof"),
                       GetSettingFolder(ProfileSetting) + LoadAppString(12704),
                       OFN_EXPLORER | OFN_ENABLESIZING, ProfileFilter(), this);
    if (dialog.DoModal() != IDOK)
        return 0;
    QString path = dialog.GetPathName();
    if (!path.endsWith(QStringLiteral(".nprof"), Qt::CaseInsensitive))
        path += QStringLiteral(".nprof");
    WriteAppSettingString(HKEY_CURRENT_USER, ProfileSetting, path.left(path.lastIndexOf(u'/') + 1));
    m_profile.Save(path, QString());
    return 0;
}

LRESULT CDlgUserImportMap::OnEditMapping(WPARAM, LPARAM)
{
    const int index = m_list.GetSelectionMark();
    if (index < 0 || index >= FieldRowCount)
        return 0;
    CUserImportProfile copy;
    copy.SetMapping(m_profile.GetMapping());
    CDlgUserImportMapField dialog(int(m_list.GetItemData(index)), copy, m_rows, this);
    if (dialog.DoModal() != IDOK)
        return 0;
    m_profile.SetMapping(copy.GetMapping());
    FillMappingList();
    Reselect(index);
    return 0;
}

LRESULT CDlgUserImportMap::OnClearMapping(WPARAM, LPARAM)
{
    const int index = m_list.GetSelectionMark();
    if (index < 0 || index >= FieldRowCount)
        return 0;
    m_profile.RemoveMapping(int(m_list.GetItemData(index)));
    FillMappingList();
    Reselect(index);
    return 0;
}

LRESULT CDlgUserImportMap::OnListDoubleClick(WPARAM id, LPARAM)
{
    if (int(id) == IdList)
        OnEditMapping(0, 0);
    return 0;
}

LRESULT CDlgUserImportMap::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
