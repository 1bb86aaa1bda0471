#include "dialogs/BackgroundBlock.h"

#include "base/TextHelpers.h"
#include "dialogs/BackgroundImageTools.h"
#include "dialogs/DialogContext.h"
#include "dialogs/StyleControls.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/WinApp.h"
#include "res/dialogs/PageStyle3.h"

using namespace ndb;

namespace
{
constexpr int CustomPosition = 3;
constexpr quint32 NoPictureId = 13190;

enum ControlId : UINT
{
    IdColor = IDC_BACKGROUND_COLOR,
    IdImageName = IDC_BACKGROUND_IMAGE_NAME,
    IdBrowse = IDC_BACKGROUND_BROWSE,
    IdRemove = IDC_BACKGROUND_REMOVE,
    IdImageEffects = IDC_BACKGROUND_IMAGE_EFFECTS,
    IdTiling = IDC_BACKGROUND_TILING,
    IdPosX = IDC_BACKGROUND_POS_X,
    IdPosXUnit = IDC_BACKGROUND_POS_X_UNIT,
    IdPosXValue = IDC_BACKGROUND_POS_X_VALUE,
    IdPosY = IDC_BACKGROUND_POS_Y,
    IdPosYUnit = IDC_BACKGROUND_POS_Y_UNIT,
    IdPosYValue = IDC_BACKGROUND_POS_Y_VALUE,
    IdTilingLabel = IDC_BACKGROUND_TILING_LABEL,
    IdPosXLabel = IDC_BACKGROUND_POS_X_LABEL,
    IdPosYLabel = IDC_BACKGROUND_POS_Y_LABEL,
};

constexpr KeywordEntry Tiling[] = {{9100, DefaultKeyword}, {9101, 3}, {9102, 1}, {9103, 2}, {9104, 0}};
constexpr KeywordEntry PositionX[] = {{9110, DefaultKeyword}, {9111, 0}, {9112, 1}, {9113, 2}, {9114, 3}};
constexpr KeywordEntry PositionY[] = {{9120, DefaultKeyword}, {9121, 0}, {9122, 1}, {9123, 2}, {9124, 3}};
} // namespace

CBackgroundBlock::CBackgroundBlock(IDialogContext* context, CNdbStyle* style,
                                   const BackgroundBlockSetup& setup)
    : m_context(context), m_style(style), m_setup(setup), m_color(CurrentPalette(context))
{
    m_x.keywordField = StyleBackgroundPositionX;
    m_x.lengthField = StyleBackgroundPositionXLength;
    m_x.keywordType = NdbValueBackgroundPositionX;
    m_y.keywordField = StyleBackgroundPositionY;
    m_y.lengthField = StyleBackgroundPositionYLength;
    m_y.keywordType = NdbValueBackgroundPositionY;
}

void CBackgroundBlock::BindControls(CDataExchange* dx)
{
    DDX_Control(dx, IdImageName, m_imageName);
    DDX_Control(dx, IdTiling, m_tiling);
    DDX_Control(dx, IdPosX, m_x.mode);
    DDX_Control(dx, IdPosXValue, m_x.value);
    DDX_Control(dx, IdPosXUnit, m_x.unit);
    DDX_Control(dx, IdPosY, m_y.mode);
    DDX_Control(dx, IdPosYValue, m_y.value);
    DDX_Control(dx, IdPosYUnit, m_y.unit);
}

void CBackgroundBlock::Start(CWnd* host)
{
    m_host = host;
    for (CNumberEditCtrl* edit : {&m_x.value, &m_y.value})
    {
        edit->SetLimitText(m_setup.positionLength);
        edit->SetupSpin(m_setup.positionsFromZero ? 0 : -m_setup.positionLimit, m_setup.positionLimit);
    }
    m_color.CreateFromPlaceholder(host->GetDlgItem(IdColor), 0);
    SetColorBoxColor(LoadColor(*m_style, StyleBackgroundColor), &m_color);
    m_tiling.ResetContent();
    FillKeywordList(m_tiling, Tiling);
    LoadKeyword(m_tiling, *m_style, StyleBackgroundRepeat);
    m_x.mode.ResetContent();
    FillKeywordList(m_x.mode, PositionX);
    m_y.mode.ResetContent();
    FillKeywordList(m_y.mode, PositionY);
    StartAxis(m_x);
    StartAxis(m_y);
    AddGroups();
    m_groups.Mark();
    Refresh();
}

void CBackgroundBlock::StartAxis(Axis& axis)
{
    LoadKeyword(axis.mode, *m_style, axis.keywordField);
    axis.length.Load(*m_style, axis.lengthField, axis.value, 0);
    axis.unit.ResetContent();
    FillUnitList(axis.unit, true);
    SelectUnit(axis.unit, axis.length.IsPresent() ? axis.length.LoadedUnit() : int(NdbUnitPx));
}

void CBackgroundBlock::AddGroups()
{
    AddColorGroup(m_groups, m_color, *m_style, StyleBackgroundColor);
    AddKeywordGroup(m_groups, m_tiling, *m_style, StyleBackgroundRepeat, NdbValueBackgroundRepeat);
    for (Axis* axis : {&m_x, &m_y})
    {
        AddKeywordGroup(m_groups, axis->mode, *m_style, axis->keywordField, axis->keywordType);
        AddLengthGroup(m_groups, axis->length, axis->unit, *m_style, axis->lengthField);
    }
}

void CBackgroundBlock::AddSectionControl(int id)
{
    m_sectionControls.push_back(id);
}

QString CBackgroundBlock::State() const
{
    return m_groups.State();
}

void CBackgroundBlock::Store()
{
    m_groups.Store();
}

CNdbResource* CBackgroundBlock::FindImage() const
{
    CNdbNewsletter* newsletter = m_context ? m_context->GetCurrentNewsletter() : nullptr;
    const QString key = m_style->GetString(StyleBackgroundImage);
    return newsletter && !key.isEmpty() ? newsletter->Layout().FindResourceById(key) : nullptr;
}

void CBackgroundBlock::Refresh()
{
    const CNdbResource* image = FindImage();
    m_imageName.SetWindowText(image ? image->GetName() : QString());
    const bool found = image != nullptr;
    std::vector<int> ids = {IdRemove, IdTiling, IdPosX, IdPosY, IdTilingLabel, IdPosXLabel, IdPosYLabel};
    ids.insert(ids.end(), m_sectionControls.begin(), m_sectionControls.end());
    for (int id : ids)
        m_host->DlgItem(id).EnableWindow(found);
    const BackgroundImageTools& tools = GetBackgroundImageTools();
    m_host->DlgItem(IdBrowse).EnableWindow(bool(tools.chooseImage));
    m_host->DlgItem(IdImageEffects).EnableWindow(found && tools.editEffect);
    for (Axis* axis : {&m_x, &m_y})
    {
        axis->value.EnableWindow(found);
        axis->unit.EnableWindow(found);
        if (found)
            ApplyKeywordRule(*axis);
    }
}

void CBackgroundBlock::ApplyKeywordRule(Axis& axis)
{
    if (axis.mode.GetCurSel() < 0)
        return;
    const bool custom = SelectedCode(axis.mode) == CustomPosition;
    axis.value.EnableWindow(custom);
    axis.unit.EnableWindow(custom);
}

bool CBackgroundBlock::OnCommand(UINT id, UINT code)
{
    if (code == CBN_SELCHANGE && (id == IdPosX || id == IdPosY))
    {
        ApplyKeywordRule(id == IdPosX ? m_x : m_y);
        return false; // the host may follow the change too
    }
    if (code != BN_CLICKED)
        return false;
    switch (id)
    {
    case IdBrowse:
        Browse();
        return true;
    case IdRemove:
        Remove();
        return true;
    case IdImageEffects:
        EditEffects();
        return true;
    default:
        return false;
    }
}

void CBackgroundBlock::Remove()
{
    if (AfxMessageBox(LoadAppString(m_setup.removeQuestionId), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The effect belongs to the image: kept, it would come back on any image chosen later.
    m_style->RemoveField(StyleBackgroundImage);
    m_style->RemoveField(StyleBackgroundPipeline);
    Refresh();
    if (onRecordChanged)
        onRecordChanged();
}

void CBackgroundBlock::Browse()
{
    const BackgroundImageTools& tools = GetBackgroundImageTools();
    CNdbNewsletter* newsletter = m_context ? m_context->GetCurrentNewsletter() : nullptr;
    if (!newsletter || !tools.chooseImage ||
        AfxMessageBox(LoadAppString(m_setup.warningId), MB_YESNOCANCEL) != IDYES)
        return;
    const CNdbResource* current = FindImage();
    std::unique_ptr<CNdbResource> image;
    const int result =
        tools.chooseImage(current ? current->GetString(ResourceSource) : QString(), image, m_host);
    if (result != 0 || !image)
    {
        // Cancelled by the user: nothing to say. A file that could not be read is reported.
        if (result != 1)
            AfxMessageBox(LoadAppString(m_setup.errorId), MB_ICONHAND);
        return;
    }
    // A file the page could not show is no background: named, with the reason, and left out.
    if (image->GetInt(ResourceWidth, 0) <= 0 || image->GetInt(ResourceHeight, 0) <= 0)
    {
        AfxMessageBox(FormatResourceText(LoadAppString(NoPictureId), {image->GetString(ResourceSource)}),
                      MB_ICONHAND);
        return;
    }
    const QString key = image->GetString(ResourceId);
    {
        const auto lock = m_context->WriteDocument();
        newsletter->Layout().AddResource(std::move(image));
    }
    m_style->SetField(StyleBackgroundImage, CNdbFieldValue(key));
    Refresh();
    if (onRecordChanged)
        onRecordChanged();
}

void CBackgroundBlock::EditEffects()
{
    const BackgroundImageTools& tools = GetBackgroundImageTools();
    const CNdbResource* image = FindImage();
    QString key;
    if (!image || !tools.editEffect ||
        !tools.editEffect(m_context, m_style->GetString(StyleBackgroundPipeline), *image, m_host, key))
        return;
    m_style->SetField(StyleBackgroundPipeline, CNdbFieldValue(key));
    if (onRecordChanged)
        onRecordChanged();
}
