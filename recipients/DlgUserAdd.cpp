#include "recipients/DlgUserAdd.h"

#include "dialogs/ShowHelp.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/Button.h"
#include "platform/ui/ResourceModule.h"
#include "res/dialogs/UserAdd.h"

#include <QImage>

#include <map>

namespace
{
constexpr UINT TemplateId = IDD_USER_ADD;
constexpr UINT IdHelp = IDC_HELP;
constexpr int IdEmail = IDC_EMAIL;
constexpr int IdHtmlMail = IDC_HTML_MAIL;
constexpr int IdEnabled = IDC_ENABLED;
constexpr int IdColor = IDC_COLOR;
constexpr int IdBlocked = IDC_BLOCKED;
constexpr int ApplyHtmlMail = IDC_HTML_EMAILS_CHECK;
constexpr int ApplyEnabled = IDC_ENABLED_CHECK;
constexpr int ApplyColor = IDC_COLOR_CHECK;
constexpr int ApplyBlocked = IDC_BLOCK_RECIPIENT_CHECK;
constexpr UINT ColorStrip = 307;

struct TextControl
{
    int code;
    int edit;
    int apply; // 0 for the address, which has none
};

// In the order of the text members: 110, then 120 to 320.
constexpr TextControl TextControls[CDlgUserAdd::TextFieldCount] = {
    {110, IDC_EMAIL, 0},
    {120, IDC_TITLE, IDC_TITLE_CHECK},
    {130, IDC_FIRST, IDC_FIRST_CHECK},
    {140, IDC_MIDDLE, IDC_MIDDLE_CHECK},
    {150, IDC_LAST, IDC_LAST_CHECK},
    {160, IDC_SUFFIX, IDC_SUFFIX_CHECK},
    {170, IDC_COMPANY, IDC_COMPANY_CHECK},
    {180, IDC_DEPARTMENT, IDC_DEPARTMENT_CHECK},
    {190, IDC_BUSINESS, IDC_BUSINESS_CHECK},
    {200, IDC_HOME, IDC_HOME_CHECK},
    {210, IDC_MOBILE, IDC_MOBILE_CHECK},
    {220, IDC_FAX, IDC_FAX_CHECK},
    {230, IDC_USER_ADD_ADDRESS, IDC_ADDRESS_CHECK},
    {240, IDC_CITY, IDC_CITY_CHECK},
    {250, IDC_STATE, IDC_STATE_CHECK},
    {260, IDC_ZIP, IDC_ZIP_CHECK},
    {270, IDC_COUNTRY, IDC_COUNTRY_CHECK},
    {280, IDC_USER_ADD_URL, IDC_URL_CHECK},
    {290, IDC_FIELD_1, IDC_FIELD_1_CHECK},
    {300, IDC_FIELD_2, IDC_FIELD_2_CHECK},
    {310, IDC_FIELD_3, IDC_FIELD_3_CHECK},
    {320, IDC_FIELD_4, IDC_FIELD_4_CHECK},
};

constexpr int ComboApply[][2] = {
    {IdHtmlMail, ApplyHtmlMail}, {IdEnabled, ApplyEnabled}, {IdColor, ApplyColor}, {IdBlocked, ApplyBlocked}};

// Colour label codes by their name strings.
constexpr std::pair<int, quint32> ColorNames[] = {{0, 12505}, {1, 12501}, {2, 12506}, {3, 12504},
                                                  {4, 12507}, {5, 12502}, {6, 12503}, {7, 12508}};
} // namespace

const MessageMap* CDlgUserAdd::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdHelp, &CDlgUserAdd::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgUserAdd::CDlgUserAdd(int mode, CWnd* parent) : CDialog(TemplateId, parent), m_mode(mode)
{
    m_user.RemoveField(ndb::UserId);
}

CDlgUserAdd::~CDlgUserAdd()
{
    DestroyWindow();
}

void CDlgUserAdd::DoDataExchange(CDataExchange* dx)
{
    m_exchanging = true;
    DDX_Control(dx, IdHtmlMail, m_htmlMail);
    DDX_Control(dx, IdEnabled, m_enabled);
    DDX_Control(dx, IdBlocked, m_blocked);
    DDX_Control(dx, IdColor, m_color);
    for (int i = 0; i < TextFieldCount; ++i)
        DDX_Text(dx, TextControls[i].edit, m_texts[size_t(i)]);
    m_exchanging = false;
}

bool CDlgUserAdd::OnInitDialog()
{
    m_exchanging = true;
    CDialog::OnInitDialog();
    FillColors();
    SetWindowText(LoadAppString(12509 + quint32(std::clamp(m_mode, 0, 3))));
    if (m_mode == ModeEditSeveral)
    {
        DlgItem(IdEmail).EnableWindow(false);
    }
    else
    {
        for (const TextControl& text : TextControls)
        {
            if (text.apply)
                DlgItem(text.apply).ShowWindow(SW_HIDE);
        }
        for (const auto& [combo, apply] : ComboApply)
            DlgItem(apply).ShowWindow(SW_HIDE);
    }
    for (int i = 0; i < TextFieldCount; ++i)
        m_texts[size_t(i)] = m_user.GetString(TextControls[i].code);
    FillYesNo(m_htmlMail, m_user.GetBool(ndb::UserHtmlMail, true));
    FillYesNo(m_blocked, m_user.GetBool(ndb::UserBlocked, false));
    FillYesNo(m_enabled, m_user.GetBool(ndb::UserEnabled, true));
    UpdateData(false);
    m_exchanging = false;
    return true;
}

void CDlgUserAdd::FillColors()
{
    if (m_images.GetImageCount() == 0)
    {
        m_images.Create(19, 20, 0, 50, 30);
        QByteArray png;
        if (ResourceModule::Load(QStringLiteral("PNG"), ColorStrip, &png))
            m_images.Add(QImage::fromData(png), 0);
        m_color.SetImageList(&m_images);
    }
    m_color.InsertItem(0, LoadAppString(12500), -1, UINT_PTR(-1));
    m_color.SetCurSel(0);
    // By name, ordinally, as the list shows them.
    std::map<QString, int> byName;
    for (const auto& [code, name] : ColorNames)
        byName[LoadAppString(name)] = code;
    const bool labelled = m_user.GetFields().find(ndb::UserColorLabel) != m_user.GetFields().end();
    for (const auto& [name, code] : byName)
    {
        const int item = m_color.InsertItem(-1, name, code, UINT_PTR(code));
        if (labelled && m_user.GetInt(ndb::UserColorLabel) == code)
            m_color.SetCurSel(item);
    }
}

void CDlgUserAdd::FillYesNo(CComboBox& combo, bool value)
{
    combo.ResetContent();
    combo.SetItemData(combo.AddString(LoadAppString(12513)), 1);
    combo.SetItemData(combo.AddString(LoadAppString(12514)), 0);
    combo.SetCurSel(value ? 0 : 1);
}

bool CDlgUserAdd::ReadYesNo(const CComboBox& combo, bool defaultValue) const
{
    const int selected = combo.GetCurSel();
    return selected < 0 ? defaultValue : combo.GetItemData(selected) != 0;
}

void CDlgUserAdd::SetApplied(int applyId)
{
    if (auto* box = static_cast<CButton*>(GetDlgItem(applyId)))
        box->SetCheck(BST_CHECKED);
}

bool CDlgUserAdd::IsApplied(int applyId) const
{
    const auto* box = static_cast<const CButton*>(GetDlgItem(applyId));
    return box && box->GetCheck() == BST_CHECKED;
}

LRESULT CDlgUserAdd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        NoteFieldChange(LOWORD(wParam), HIWORD(wParam));
    return CDialog::WindowProc(message, wParam, lParam);
}

// A change of a field by the user ticks its apply box; the dialog's own transfers do not.
void CDlgUserAdd::NoteFieldChange(int id, UINT code)
{
    if (!m_exchanging && code == EN_CHANGE)
    {
        for (const TextControl& text : TextControls)
        {
            if (text.edit == id && text.apply)
                SetApplied(text.apply);
        }
    }
    if (!m_exchanging && code == CBN_SELCHANGE)
    {
        for (const auto& [combo, apply] : ComboApply)
        {
            if (combo == id)
                SetApplied(apply);
        }
    }
    if (!m_exchanging && code == EN_CHANGE && id == IdEmail)
    {
        const QString address = DlgItem(IdEmail).GetWindowText().trimmed();
        if (address.isEmpty())
            m_user.RemoveField(ndb::UserEmail);
        else
            m_user.SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
    }
}

void CDlgUserAdd::StoreFlag(int code, const CComboBox& combo, bool defaultValue, int applyId)
{
    if (m_mode == ModeEditSeveral && !IsApplied(applyId))
    {
        m_user.RemoveField(code);
        return;
    }
    m_user.SetField(code, ndb::CNdbFieldValue(ndb::NdbValueBool, ReadYesNo(combo, defaultValue)));
}

void CDlgUserAdd::OnOK()
{
    UpdateData(true);
    for (int i = 0; i < TextFieldCount; ++i)
    {
        const TextControl& control = TextControls[i];
        const QString& text = m_texts[size_t(i)];
        if (m_mode == ModeEditSeveral)
        {
            if (control.code == ndb::UserEmail || !IsApplied(control.apply))
                m_user.RemoveField(control.code);
            else
                m_user.SetField(control.code, ndb::CNdbFieldValue(text));
            continue;
        }
        const QString stored = control.code == ndb::UserEmail ? text.trimmed() : text;
        if (stored.isEmpty())
            m_user.RemoveField(control.code);
        else
            m_user.SetField(control.code, ndb::CNdbFieldValue(stored));
    }
    StoreFlag(ndb::UserHtmlMail, m_htmlMail, true, ApplyHtmlMail);
    StoreFlag(ndb::UserBlocked, m_blocked, false, ApplyBlocked);
    StoreFlag(ndb::UserEnabled, m_enabled, true, ApplyEnabled);
    m_user.RemoveField(ndb::UserColorLabel);
    const int selected = m_color.GetCurSel();
    const int code = selected < 0 ? -1 : int(m_color.GetItemData(selected));
    const bool colorApplies = m_mode != ModeEditSeveral || IsApplied(ApplyColor);
    if (code >= 0 && code <= 7 && colorApplies)
        m_user.SetField(ndb::UserColorLabel, ndb::CNdbFieldValue(ndb::NdbValueColorLabel, code));
    if (m_mode == ModeEditSeveral && IsApplied(ApplyColor))
        m_colorApplied = true;
    if (m_mode == ModeEditTest)
    {
        m_user.RemoveField(ndb::UserBlocked);
        m_user.SetField(ndb::UserEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    }
    EndDialog(IDOK);
}

LRESULT CDlgUserAdd::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
