#include "dialogs/PageStyle4.h"

#include "dialogs/StyleControls.h"
#include "ndb/NdbStyle.h"
#include "res/dialogs/PageStyle4.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_PAGE_STYLE4;
constexpr int IdCursor = IDC_CURSOR;
constexpr int IdCustomSettings = IDC_CUSTOM_SETTINGS;
constexpr int IdPreview = IDC_PREVIEW;
// "Default" is the cursor of code 1, which the style then leaves unset.
constexpr int DefaultCursor = 1;

constexpr KeywordEntry Cursors[] = {
    {8400, 1}, {8401, 0}, {8402, 3}, {8403, 15}, {8404, 4},  {8405, 2},  {8406, 13}, {8407, 14}, {14000, 16},
    {8408, 8}, {8409, 6}, {8410, 5}, {8411, 9},  {8412, 11}, {8413, 10}, {8414, 12}, {8415, 7},
};
} // namespace

const MessageMap* CPageStyle4::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(CBN_SELCHANGE, IdCursor, &CPageStyle4::OnValueChanged),
        OnControl(EN_KILLFOCUS, IdCustomSettings, &CPageStyle4::OnValueChanged),
    };
    static const MessageMap map{CPageStyleBase::GetMessageMap(), entries};
    return &map;
}

CPageStyle4::CPageStyle4(IDialogContext* context, CNdbStyle* style)
    : CPageStyleBase(TemplateId, context, style)
{
}

CPageStyle4::~CPageStyle4()
{
    DestroyWindow();
}

void CPageStyle4::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdCursor, m_cursor);
    DDX_Control(dx, IdCustomSettings, m_customSettings);
}

bool CPageStyle4::OnInitDialog()
{
    CPageStyleBase::OnInitDialog();
    CreatePreview(IdPreview);
    FillKeywordList(m_cursor, Cursors);
    SelectCode(m_cursor, m_style->GetInt(StyleCursor, DefaultCursor));
    m_customSettings.SetWindowText(m_style->GetString(StyleFreeCss));
    AddFieldGroup([this] { return ListState(m_cursor); },
                  [this]
                  {
                      const int code = SelectedCode(m_cursor);
                      if (code == NoEntry)
                          return;
                      if (code == DefaultCursor)
                          m_style->RemoveField(StyleCursor);
                      else
                          m_style->SetField(StyleCursor, CNdbFieldValue(NdbValueCursor, code));
                  });
    AddFieldGroup([this] { return m_customSettings.GetWindowText(); },
                  [this]
                  {
                      const QString text = m_customSettings.GetWindowText();
                      if (text.isEmpty())
                          m_style->RemoveField(StyleFreeCss);
                      else
                          m_style->SetField(StyleFreeCss, CNdbFieldValue(text));
                  });
    FinishInit();
    UpdatePreview();
    return true;
}
