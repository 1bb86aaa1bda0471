#pragma once

#include "controls/KVFontSelectCB.h"
#include "controls/KVSystemFont.h"
#include "controls/ToolbarBase.h"
#include "platform/ui/ComboBox.h"

class ILayoutContext;
namespace ndb
{
class CNdbStyle;
} // namespace ndb

// The toolbar above the newsletter layout editor: a view-mode set (set 0) and an edit-mode set
// (set 1) whose second row holds the style, font and size pickers. The pickers report a choice
// as a command to the main window; the editor then reads the choice with the Get operations and
// makes the pickers follow the caret with the Show operations.
class CToolbarLayout : public CToolbarBase
{
public:
    static constexpr UINT StyleComboId = 32892;
    static constexpr UINT FontComboId = 32893;
    static constexpr UINT SizeComboId = 32894;
    static constexpr UINT TextColorId = 32815;
    static constexpr UINT FillColorId = 32816;
    static constexpr UINT DefaultSizeStringId = 14207;

    explicit CToolbarLayout(ILayoutContext* context);
    ~CToolbarLayout() override;

    // One entry per style of the open newsletter, named by its display name; none without one.
    void FillStyleCombo();
    ndb::CNdbStyle* GetSelectedStyle() const;
    QString GetSelectedFont() const;
    // The selected entry as a number ("Default" is 0); typed text is not read.
    int GetSelectedFontSize() const;
    void ShowStyleOf(const QString& tag);
    void ShowFontName(const QString& name);
    void ShowFontSize(int size);
    // Shows the edit set, whose font picker is then filled.
    void SetEditMode();

    CComboBox* GetStyleCombo() const { return m_styleCombo; }
    // The font picker, filled on first use: filling reads every installed font, which the view
    // mode does without.
    CKVFontSelectCB* GetFontCombo();
    CComboBox* GetSizeCombo() const { return m_sizeCombo; }
    CKVImageButton* GetTextColorButton() const { return m_textColorButton; }
    CKVImageButton* GetFillColorButton() const { return m_fillColorButton; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnComboSelChange(WPARAM wParam, LPARAM);
    LRESULT OnComboSetFocus(WPARAM wParam, LPARAM);
    LRESULT OnComboKillFocus(WPARAM wParam, LPARAM);

private:
    void AddCombo(std::unique_ptr<CComboBox> combo, int width);
    void SetComboUpdate(UINT id, BYTE update);

    ILayoutContext* m_context;
    // The pickers and swatches are owned by the item table.
    CComboBox* m_styleCombo = nullptr;
    CKVSystemFont m_font{13, 0};
    CKVFontSelectCB* m_fontCombo = nullptr;
    bool m_fontsFilled = false;
    CComboBox* m_sizeCombo = nullptr;
    CKVImageButton* m_textColorButton = nullptr;
    CKVImageButton* m_fillColorButton = nullptr;
};
