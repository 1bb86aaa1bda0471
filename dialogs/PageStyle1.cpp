#include "dialogs/PageStyle1.h"

#include "dialogs/DialogContext.h"
#include "dialogs/DlgFontSelect.h"
#include "dialogs/StyleControls.h"
#include "ndb/NdbNewsletter.h"
#include "res/dialogs/PageStyle1.h"

#include <cmath>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_PAGE_STYLE1;

enum ControlId : UINT
{
    IdTextColor = IDC_TEXT_COLOR,
    IdFamily = IDC_FAMILY,
    IdChooseFamily = IDC_CHOOSE_FAMILY,
    IdSize = IDC_SIZE,
    IdSizeUnit = IDC_SIZE_UNIT,
    IdBold = IDC_BOLD,
    IdItalic = IDC_ITALIC,
    IdSmallCaps = IDC_SMALL_CAPS,
    IdCapitalization = IDC_CAPITALIZATION,
    IdNone = IDC_NONE,
    IdUnderline = IDC_UNDERLINE,
    IdOverline = IDC_OVERLINE,
    IdStrikethrough = IDC_STRIKETHROUGH,
    IdPreview = IDC_PREVIEW,
};

const int Sizes[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 20, 22, 24, 26, 28, 36, 48, 72};

constexpr KeywordEntry Bold[] = {{8200, DefaultKeyword}, {8201, 1}, {8202, 0}};
constexpr KeywordEntry Italic[] = {{8210, DefaultKeyword}, {8211, 1}, {8212, 0}};
constexpr KeywordEntry SmallCaps[] = {{8220, DefaultKeyword}, {8221, 1}, {8222, 0}};
constexpr KeywordEntry Capitalization[] = {
    {8230, DefaultKeyword}, {8231, 3}, {8232, 2}, {8233, 1}, {8234, 0}};

// Keeps a minus sign in front and the digits.
QString SizeDigits(const QString& text)
{
    QString digits;
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        if (text[i].isDigit() || (i == 0 && text[i] == QLatin1Char('-')))
            digits += text[i];
    }
    return digits;
}
} // namespace

const MessageMap* CPageStyle1::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(CBN_SELCHANGE, IdSize, &CPageStyle1::OnSizeSelChange),
        OnControl(CBN_EDITCHANGE, IdSize, &CPageStyle1::OnSizeEditChange),
        OnControl(CBN_KILLFOCUS, IdSize, &CPageStyle1::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdSizeUnit, &CPageStyle1::OnSizeUnitChange),
        OnControl(BN_CLICKED, IdNone, &CPageStyle1::OnNoDecoration),
        OnControl(BN_CLICKED, IdUnderline, &CPageStyle1::OnValueChanged),
        OnControl(BN_CLICKED, IdStrikethrough, &CPageStyle1::OnValueChanged),
        OnControl(BN_CLICKED, IdOverline, &CPageStyle1::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdBold, &CPageStyle1::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdItalic, &CPageStyle1::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdSmallCaps, &CPageStyle1::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdCapitalization, &CPageStyle1::OnValueChanged),
        OnCommand(IdChooseFamily, &CPageStyle1::OnChooseFamily),
        OnMessage(UM_COLORBOX_CHANGED, &CPageStyle1::OnColorChanged),
    };
    static const MessageMap map{CPageStyleBase::GetMessageMap(), entries};
    return &map;
}

CPageStyle1::CPageStyle1(IDialogContext* context, CNdbStyle* style)
    : CPageStyleBase(TemplateId, context, style),
      m_textColor(context && context->GetCurrentNewsletter() ? &context->GetCurrentNewsletter()->Palette()
                                                             : nullptr)
{
}

CPageStyle1::~CPageStyle1()
{
    DestroyWindow();
}

void CPageStyle1::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdFamily, m_family);
    DDX_Control(dx, IdSize, m_size);
    DDX_Control(dx, IdSizeUnit, m_sizeUnit);
    DDX_Control(dx, IdBold, m_bold);
    DDX_Control(dx, IdItalic, m_italic);
    DDX_Control(dx, IdSmallCaps, m_smallCaps);
    DDX_Control(dx, IdCapitalization, m_capitalization);
    DDX_Control(dx, IdNone, m_none);
    DDX_Control(dx, IdUnderline, m_underline);
    DDX_Control(dx, IdOverline, m_overline);
    DDX_Control(dx, IdStrikethrough, m_strikethrough);
}

bool CPageStyle1::OnInitDialog()
{
    CPageStyleBase::OnInitDialog();
    CreatePreview(IdPreview);
    m_textColor.CreateFromPlaceholder(GetDlgItem(IdTextColor), 0);
    m_size.AddString(QString());
    for (int size : Sizes)
        m_size.AddString(QString::number(size));
    FillUnitList(m_sizeUnit, true);
    FillKeywordList(m_bold, Bold);
    FillKeywordList(m_italic, Italic);
    FillKeywordList(m_smallCaps, SmallCaps);
    FillKeywordList(m_capitalization, Capitalization);
    LoadControls();
    EnableDecorations();
    AddFieldGroups();
    UpdatePreview();
    FinishInit();
    return true;
}

void CPageStyle1::LoadControls()
{
    SetColorBoxColor(LoadColor(*m_style, StyleColor), &m_textColor);
    m_family.SetWindowText(m_style->GetString(StyleFontFamily));
    CNdbFieldValue value;
    const bool hasSize = m_style->GetField(StyleFontSize, value) && value.GetType() == NdbValueLength;
    m_loadedSize = hasSize ? QString::number(int(std::trunc(value.GetFloat()))) : QString();
    m_size.SetWindowText(m_loadedSize);
    SelectUnit(m_sizeUnit, hasSize ? value.GetUnit() : int(NdbUnitPt));
    LoadKeyword(m_bold, *m_style, StyleFontWeight);
    LoadKeyword(m_italic, *m_style, StyleFontStyle);
    LoadKeyword(m_smallCaps, *m_style, StyleFontVariant);
    LoadKeyword(m_capitalization, *m_style, StyleTextTransform);
    const int bits = m_style->GetInt(StyleTextDecoration, 0);
    m_none.SetCheck((bits & NdbDecorationNone) ? BST_CHECKED : BST_UNCHECKED);
    m_underline.SetCheck((bits & NdbDecorationUnderline) ? BST_CHECKED : BST_UNCHECKED);
    m_overline.SetCheck((bits & NdbDecorationOverline) ? BST_CHECKED : BST_UNCHECKED);
    m_strikethrough.SetCheck((bits & NdbDecorationLineThrough) ? BST_CHECKED : BST_UNCHECKED);
}

void CPageStyle1::AddFieldGroups()
{
    AddFieldGroup([this] { return m_textColor.GetColor().ToText(); },
                  [this]
                  {
                      const CNdbColor color = m_textColor.GetColor();
                      if (color.GetKind() == NdbColorNone)
                          m_style->RemoveField(StyleColor);
                      else
                          m_style->SetField(StyleColor, CNdbFieldValue(color));
                  });
    AddFieldGroup([this] { return m_family.GetWindowText(); },
                  [this]
                  {
                      // An empty family would write a declaration without a value.
                      const QString family = m_family.GetWindowText();
                      if (family.isEmpty())
                          m_style->RemoveField(StyleFontFamily);
                      else
                          m_style->SetField(StyleFontFamily, CNdbFieldValue(family));
                  });
    AddFieldGroup([this] { return m_size.GetWindowText() + QLatin1Char('|') + ListState(m_sizeUnit); },
                  [this] { StoreSize(); });
    const std::pair<CComboBox*, std::pair<int, int>> keywords[] = {
        {&m_bold, {StyleFontWeight, NdbValueFontWeight}},
        {&m_italic, {StyleFontStyle, NdbValueFontStyle}},
        {&m_smallCaps, {StyleFontVariant, NdbValueFontVariant}},
        {&m_capitalization, {StyleTextTransform, NdbValueTextTransform}},
    };
    for (const auto& keyword : keywords)
    {
        CComboBox* const list = keyword.first;
        const std::pair<int, int> field = keyword.second;
        AddFieldGroup([list] { return ListState(*list); },
                      [this, list, field] { StoreKeyword(*list, *m_style, field.first, field.second); });
    }
    AddFieldGroup([this] { return QString::number(DecorationBits()); },
                  [this]
                  {
                      if (DecorationBits() == 0)
                          m_style->RemoveField(StyleTextDecoration);
                      else
                          m_style->SetField(StyleTextDecoration,
                                            CNdbFieldValue(NdbValueInt, DecorationBits()));
                  });
}

void CPageStyle1::StoreSize()
{
    const int unit = SelectedUnit(m_sizeUnit);
    if (unit == 0)
        return;
    const QString text = m_size.GetWindowText();
    // An empty size means that the style sets none.
    if (text.isEmpty())
    {
        m_style->RemoveField(StyleFontSize);
        return;
    }
    CNdbFieldValue loaded;
    const bool keepFraction = text == m_loadedSize && m_style->GetField(StyleFontSize, loaded) &&
                              loaded.GetType() == NdbValueLength;
    m_style->SetField(StyleFontSize,
                      CNdbFieldValue(keepFraction ? loaded.GetFloat() : float(text.toInt()), unit));
}

int CPageStyle1::DecorationBits() const
{
    int bits = 0;
    if (m_none.GetCheck() == BST_CHECKED)
        bits |= NdbDecorationNone;
    if (m_underline.GetCheck() == BST_CHECKED)
        bits |= NdbDecorationUnderline;
    if (m_overline.GetCheck() == BST_CHECKED)
        bits |= NdbDecorationOverline;
    if (m_strikethrough.GetCheck() == BST_CHECKED)
        bits |= NdbDecorationLineThrough;
    return bits;
}

void CPageStyle1::EnableDecorations()
{
    const bool enabled = m_none.GetCheck() != BST_CHECKED;
    m_underline.EnableWindow(enabled);
    m_overline.EnableWindow(enabled);
    m_strikethrough.EnableWindow(enabled);
}

LRESULT CPageStyle1::OnSizeSelChange(WPARAM wParam, LPARAM lParam)
{
    const int entry = m_size.GetCurSel();
    if (entry >= 0)
        m_size.SetWindowText(m_size.GetLBText(entry));
    return OnSizeEditChange(wParam, lParam);
}

LRESULT CPageStyle1::OnSizeEditChange(WPARAM, LPARAM)
{
    const QString text = m_size.GetWindowText();
    const QString digits = SizeDigits(text);
    if (digits != text)
    {
        m_size.SetWindowText(digits);
        m_size.SetEditSel(-1, -1);
    }
    if (digits.isEmpty())
        m_sizeUnit.SetCurSel(0);
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle1::OnSizeUnitChange(WPARAM, LPARAM)
{
    if (m_sizeUnit.GetCurSel() >= 0 && m_size.GetWindowText().isEmpty())
        m_size.SetWindowText(m_size.GetLBText(1));
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle1::OnNoDecoration(WPARAM, LPARAM)
{
    UpdateData(true);
    EnableDecorations();
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle1::OnChooseFamily(WPARAM, LPARAM)
{
    CDlgFontSelect dialog(this);
    dialog.m_fontList = m_family.GetWindowText();
    if (dialog.DoModal() != IDOK)
        return 0;
    m_family.SetWindowText(dialog.m_fontList);
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle1::OnColorChanged(WPARAM, LPARAM)
{
    UpdatePreview();
    return 0;
}
