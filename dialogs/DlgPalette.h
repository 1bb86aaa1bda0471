#pragma once

#include "dialogs/PaletteListbox.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialog.h"

namespace ndb
{
class CNdbPalette;
class CNdbRgba;
} // namespace ndb

// "Organize Color Palette": adds, edits, deletes and orders the named colours of a palette.
// Every change goes into the palette at once, whichever button closes the dialog.
class CDlgPalette : public CDialog
{
public:
    explicit CDlgPalette(ndb::CNdbPalette* palette, CWnd* parent = nullptr);
    ~CDlgPalette() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnSelChange(WPARAM, LPARAM);
    LRESULT OnAdd(WPARAM, LPARAM);
    LRESULT OnEdit(WPARAM, LPARAM);
    LRESULT OnDelete(WPARAM, LPARAM);
    LRESULT OnMoveUp(WPARAM, LPARAM);
    LRESULT OnMoveDown(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void UpdateButtons();
    // Puts the row of the palette colour at index into the list at that position.
    void InsertRow(int index);
    void MoveSelected(int step);
    // Runs the name-and-colour dialog until its name is acceptable; false when cancelled.
    bool AskNameAndColor(const QString& caption, const QString& currentName, QString& name,
                         ndb::CNdbRgba& rgba);

    ndb::CNdbPalette* m_palette;
    CPaletteListbox m_list{0};
    CButton m_editButton;
    CButton m_deleteButton;
    CButton m_moveUpButton;
    CButton m_moveDownButton;
};
