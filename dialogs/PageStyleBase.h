#pragma once

#include "dialogs/FieldGroups.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/PropertyPage.h"

#include <functional>

class IDialogContext;
namespace ndb
{
class CNdbStyle;
}

// The frame of the four pages of the style editor. Every page edits the same working style and
// shows it in a small preview. Every change, every activation and OK write the page's controls
// into the working style, but only those the user changed since the page was opened: merely
// showing a page adds nothing, and an absent field stays absent until the user sets it.
class CPageStyleBase : public CPropertyPage
{
public:
    CPageStyleBase(UINT templateId, IDialogContext* context, ndb::CNdbStyle* style);
    ~CPageStyleBase() override;

    bool OnSetActive() override;
    void OnOK() override;

protected:
    const MessageMap* GetMessageMap() const override;
    // Creates the preview over the hidden placeholder; a page loads its controls after it and
    // calls FinishInit at its end.
    bool CreatePreview(int placeholderId);
    // Remembers what the controls show as loaded and starts writing.
    void FinishInit();
    // A group of controls and the fields it writes: its state as text tells whether the user
    // changed it.
    void AddFieldGroup(std::function<QString()> state, std::function<void()> store);
    CFieldGroups& Groups() { return m_groups; }

    void SaveToStyle();
    void UpdatePreview();
    LRESULT OnValueChanged(WPARAM, LPARAM);
    LRESULT OnNotifyHelp(WPARAM, LPARAM);

    IDialogContext* m_context;
    ndb::CNdbStyle* m_style;
    CIEBrowser m_preview;
    bool m_initialized = false;

private:
    CFieldGroups m_groups;
};
