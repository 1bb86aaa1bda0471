#include "effects/DlgGreLayerTextProperties.h"

#include "controls/InstalledFonts.h"
#include "dialogs/ShowHelp.h"
#include "dialogs/StyleControls.h"
#include "effects/GreDialogValues.h"
#include "effects/GreEffectCommands.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/PropertyPage.h"
#include "res/dialogs/GreLayerTextProperties.h"

#include <QRegularExpression>

using namespace GreDialogValues;

namespace
{
constexpr UINT TemplateId = IDD_GRE_LAYER_TEXT_PROPERTIES;
constexpr int IdText = IDC_LAYER_TEXT_TEXT;
constexpr int IdFont = IDC_FONT;
constexpr int IdAlignment = IDC_LAYER_TEXT_ALIGNMENT;
constexpr int IdSize = IDC_LAYER_TEXT_SIZE;
constexpr int IdColor = IDC_LAYER_TEXT_COLOR;
constexpr int IdBold = IDC_LAYER_TEXT_BOLD;
constexpr int IdItalic = IDC_LAYER_TEXT_ITALIC;
constexpr int IdUnderline = IDC_LAYER_TEXT_UNDERLINE;
constexpr int IdSmoothing = IDC_SMOOTHING;
constexpr int IdPlacement = IDC_PLACEMENT;
constexpr int IdMargins[] = {IDC_LAYER_LEFT, IDC_LAYER_TOP, IDC_LAYER_RIGHT, IDC_LAYER_BOTTOM};
constexpr int IdRotation = IDC_ROTATION;
constexpr int IdOpacity = IDC_OPACITY;
constexpr int IdBlending = IDC_BLENDING;
constexpr int IdName = IDC_LAYER_NAME;
constexpr int EditCharacters = 4;
constexpr UINT IdHelp = IDC_HELP;

// The name a text gives its layer: its first line.
QString FirstLine(const QString& text)
{
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}
constexpr KeywordEntry Alignments[] = {{9950, 0}, {9951, 1}, {9952, 2}};
} // namespace

const MessageMap* CDlgGreLayerTextProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(EN_CHANGE, IdSize, &CDlgGreLayerTextProperties::OnChange),
        OnControl(EN_CHANGE, IdMargins[0], &CDlgGreLayerTextProperties::OnChange),
        OnControl(EN_CHANGE, IdMargins[1], &CDlgGreLayerTextProperties::OnChange),
        OnControl(EN_CHANGE, IdMargins[2], &CDlgGreLayerTextProperties::OnChange),
        OnControl(EN_CHANGE, IdMargins[3], &CDlgGreLayerTextProperties::OnChange),
        OnControl(EN_CHANGE, IdRotation, &CDlgGreLayerTextProperties::OnChange),
        OnControl(EN_CHANGE, IdOpacity, &CDlgGreLayerTextProperties::OnChange),
        OnControl(CBN_SELCHANGE, IdFont, &CDlgGreLayerTextProperties::OnChange),
        OnControl(CBN_SELCHANGE, IdAlignment, &CDlgGreLayerTextProperties::OnChange),
        OnControl(CBN_SELCHANGE, IdBlending, &CDlgGreLayerTextProperties::OnChange),
        OnControl(CBN_SELCHANGE, IdPlacement, &CDlgGreLayerTextProperties::OnChange),
        OnCommand(IdBold, &CDlgGreLayerTextProperties::OnChange),
        OnCommand(IdItalic, &CDlgGreLayerTextProperties::OnChange),
        OnCommand(IdUnderline, &CDlgGreLayerTextProperties::OnChange),
        OnCommand(IdSmoothing, &CDlgGreLayerTextProperties::OnChange),
        OnMessage(UM_COLORBOX_CHANGED, &CDlgGreLayerTextProperties::OnChange),
        OnControl(EN_CHANGE, IdText, &CDlgGreLayerTextProperties::OnTextChange),
        OnControl(EN_CHANGE, IdName, &CDlgGreLayerTextProperties::OnNameChange),
        OnCommand(UM_GRE_APPLIED, &CDlgGreLayerTextProperties::OnApply),
        OnCommand(IdHelp, &CDlgGreLayerTextProperties::OnHelp),
        OnNotify(PSN_HELP, &CDlgGreLayerTextProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgGreLayerTextProperties::CDlgGreLayerTextProperties(ndb::CNdbNewsletter* newsletter,
                                                       gre::CGreLayerText* layer, CWnd* parent)
    : CDialog(TemplateId, parent), m_newsletter(newsletter), m_layer(layer), m_stored(*layer),
      m_fields(m_stored, TextPercentFromOpacity, TextOpacityFromPercent), m_colorBox(&newsletter->Palette())
{
}

CDlgGreLayerTextProperties::~CDlgGreLayerTextProperties()
{
    DestroyWindow();
}

void CDlgGreLayerTextProperties::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdFont, m_fontList);
    DDX_Control(dx, IdAlignment, m_alignmentList);
    DDX_Control(dx, IdSize, m_sizeEdit);
    DDX_Control(dx, IdColor, m_colorFrame);
    m_fields.Exchange(dx);
    DDX_Text(dx, IdText, m_shown.text);
    DDX_Text(dx, IdSize, m_shown.size);
    DDX_Check(dx, IdBold, m_shown.bold);
    DDX_Check(dx, IdItalic, m_shown.italic);
    DDX_Check(dx, IdUnderline, m_shown.underline);
    DDX_Check(dx, IdSmoothing, m_shown.smoothing);
    if (!dx->m_bSaveAndValidate)
        return;
    const int font = m_fontList.GetCurSel();
    if (font >= 0)
        m_shown.fontName = m_fontList.GetLBText(font);
    m_shown.alignment = SelectedCode(m_alignmentList, m_shown.alignment);
    if (m_colorBox.GetSafeHwnd())
        m_shown.color = m_colorBox.GetColor();
}

bool CDlgGreLayerTextProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_sizeEdit.SetLimitText(EditCharacters);
    m_sizeEdit.SetupSpin(1, 8192);
    m_fields.Setup();
    FillFontList();
    FillKeywordList(m_alignmentList, Alignments);
    SelectCode(m_alignmentList, m_layer->GetAlignment());
    m_colorBox.CreateFromPlaceholder(&m_colorFrame, 0);
    SetColorBoxColor(SwatchColor(m_layer->GetColor()), &m_colorBox);

    m_shown.text = m_layer->GetText();
    m_shown.size = qRound(m_layer->GetSize());
    m_shown.bold = m_layer->IsBold();
    m_shown.italic = m_layer->IsItalic();
    m_shown.underline = m_layer->IsUnderline();
    m_shown.smoothing = m_layer->IsSmoothing();
    UpdateData(false);
    // What the controls made of the values is what counts as untouched.
    UpdateData(true);
    m_loaded = m_shown;
    m_fields.MarkLoaded();
    m_loading = false;
    return true;
}

void CDlgGreLayerTextProperties::FillFontList()
{
    std::vector<FontFamilyEntry> families;
    GetInstalledFontFamilies(families);
    int selected = -1;
    for (const FontFamilyEntry& family : families)
    {
        const int index = m_fontList.AddString(family.name);
        if (selected < 0 && family.name.compare(m_layer->GetFontName(), Qt::CaseInsensitive) == 0)
            selected = index;
    }
    m_fontList.SetCurSel(selected < 0 ? 0 : selected);
}

// Only what differs from what the dialog showed is converted back; the rest keeps the stored
// value, so that rounding in the shown form never creeps into the layer.
void CDlgGreLayerTextProperties::Apply(bool notify)
{
    UpdateData(true);
    const Shown& s = m_shown;
    const Shown& l = m_loaded;
    m_fields.WriteTo(*m_layer);
    m_layer->SetText(s.text == l.text ? m_stored.GetText() : s.text);
    m_layer->SetFontName(s.fontName == l.fontName ? m_stored.GetFontName() : s.fontName);
    m_layer->SetSize(s.size == l.size ? m_stored.GetSize() : float(s.size));
    m_layer->SetAlignment(s.alignment == l.alignment ? m_stored.GetAlignment() : s.alignment);
    m_layer->SetColor(s.color == l.color ? m_stored.GetColor()
                                         : StoredColor(s.color, m_newsletter->Palette()));
    m_layer->SetBold(s.bold == l.bold ? m_stored.IsBold() : s.bold != 0);
    m_layer->SetItalic(s.italic == l.italic ? m_stored.IsItalic() : s.italic != 0);
    m_layer->SetUnderline(s.underline == l.underline ? m_stored.IsUnderline() : s.underline != 0);
    m_layer->SetSmoothing(s.smoothing == l.smoothing ? m_stored.IsSmoothing() : s.smoothing != 0);
    if (notify)
        NotifyApplied(this);
}

LRESULT CDlgGreLayerTextProperties::OnChange(WPARAM, LPARAM)
{
    if (!m_loading)
        Apply(true);
    return 0;
}

LRESULT CDlgGreLayerTextProperties::OnTextChange(WPARAM, LPARAM)
{
    if (m_loading)
        return 0;
    if (m_automaticName)
    {
        UpdateData(true);
        m_loading = true;
        DlgItem(IdName).SetWindowText(FirstLine(m_shown.text));
        m_loading = false;
    }
    Apply(true);
    return 0;
}

LRESULT CDlgGreLayerTextProperties::OnNameChange(WPARAM, LPARAM)
{
    if (m_loading)
        return 0;
    UpdateData(true);
    m_automaticName = m_fields.GetName() == m_shown.text;
    Apply(true);
    return 0;
}

LRESULT CDlgGreLayerTextProperties::OnApply(WPARAM, LPARAM)
{
    Apply(true);
    return 0;
}

void CDlgGreLayerTextProperties::OnOK()
{
    Apply(false);
    EndDialog(IDOK);
}

LRESULT CDlgGreLayerTextProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
