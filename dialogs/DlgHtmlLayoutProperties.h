#pragma once

#include "dialogs/BackgroundBlock.h"
#include "dialogs/ColorBoxCtrl.h"
#include "dialogs/FieldGroups.h"
#include "dialogs/SidesBlock.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

#include <array>
#include <memory>

class IDialogContext;

// "Layout Properties": the page as a whole, that is the alignment of its content, its background,
// margins, link colours and underlining, and whether it fills the window's height. It edits a
// copy of the page style that the caller keeps on OK; only what the user changed is written.
class CDlgHtmlLayoutProperties : public CDialog
{
public:
    CDlgHtmlLayoutProperties(IDialogContext* context, ndb::CNdbStyle* record, CWnd* parent = nullptr);
    ~CDlgHtmlLayoutProperties() override;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    bool OnCmdMsg(UINT id, UINT code) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    // One state of the links: its colour swatch and its underline check.
    struct LinkRow
    {
        int colorField;
        int decorationField;
        int swatchId;
        int checkId;
        std::unique_ptr<CColorBoxCtrl> color;
        CButton underline;
    };

    void StartLinks();
    void StartFullHeight();
    void AddGroups();

    ndb::CNdbStyle* m_record;
    CBackgroundBlock m_background;
    CSidesBlock m_margins;
    std::array<LinkRow, 3> m_links;
    CComboBox m_alignment;
    CComboBox m_scrolling;
    CButton m_fullHeight;
    CFieldGroups m_groups;
};
