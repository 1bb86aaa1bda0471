#pragma once

#include "platform/ui/WinTypes.h"

#include <QString>
#include <QtCore/qnamespace.h>

#include <memory>
#include <vector>

class CWnd;
class QJsonArray;
class QKeyEvent;
class QMenu;

constexpr UINT WM_INITMENUPOPUP = 0x0117;

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// A menu: a list of items, each a command with its text, a separator, or a pop-up holding a menu
// of its own. Menu resources are data ("MENU" menus/<id>.json of the resource module):
//   {"items": [{"text": "&File", "items": [{"id": 57601, "text": "&Open...\tCtrl+O"},
//                                           {"separator": true}, ...]}, ...]}
// Items may carry "grayed" and "checked". The text after a tab is the shortcut shown beside it.
class CMenu
{
public:
    CMenu();
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Replaces the items by those of the menu resource; false when it is missing or unreadable.
    bool LoadMenu(UINT id);
    bool CreatePopupMenu();

    int GetMenuItemCount() const;
    // The command id of the item at the position; 0 for a separator, (UINT)-1 for a pop-up or a
    // position out of range.
    UINT GetMenuItemID(int position) const;
    // The pop-up menu at the position, owned by this menu; null when that item is no pop-up.
    CMenu* GetSubMenu(int position) const;
    QString GetMenuString(UINT idOrPosition, UINT flags) const;
    UINT GetMenuState(UINT idOrPosition, UINT flags) const;

    bool AppendMenu(UINT flags, UINT_PTR idOrNothing = 0, const QString& text = {});
    bool InsertMenu(UINT position, UINT flags, UINT_PTR idOrNothing = 0, const QString& text = {});
    bool AppendPopup(const QString& text, std::unique_ptr<CMenu> popup);
    // Both take the item out; by command they search pop-ups too. A removed pop-up is deleted
    // with its items, as nothing outside the menu holds it.
    bool RemoveMenu(UINT idOrPosition, UINT flags);
    bool DeleteMenu(UINT idOrPosition, UINT flags);
    // The previous state (MF_GRAYED/MF_CHECKED bits), or (UINT)-1 when there is no such item.
    UINT EnableMenuItem(UINT idOrPosition, UINT flags);
    UINT CheckMenuItem(UINT idOrPosition, UINT flags);

    // Shows the menu at a screen point and waits until it closes. Before each pop-up appears, the
    // owner receives WM_INITMENUPOPUP (wParam the CMenu*, lParam its position in its parent) and
    // may change its items. With TPM_RETURNCMD the chosen command id is returned (0 for none);
    // otherwise the choice is posted to the owner as WM_COMMAND and the result is nonzero when
    // something was chosen.
    UINT TrackPopupMenu(UINT flags, int x, int y, CWnd* owner);

    // Fills a Qt menu from the items; choosing an item sends WM_COMMAND to the owner. The menu bar
    // of a window uses it; WM_INITMENUPOPUP is sent as each pop-up is about to show.
    void FillQtMenu(QMenu* menu, CWnd* owner);

private:
    struct Item
    {
        UINT id = 0;
        UINT state = 0; // MF_GRAYED, MF_CHECKED
        QString text;
        bool separator = false;
        std::unique_ptr<CMenu> popup;
    };
    // The list that holds the item and its position in it, searched through pop-ups by command.
    bool Locate(UINT idOrPosition, UINT flags, CMenu** menu, int* position) const;
    bool ReadItems(const QJsonArray& items);

    std::vector<Item> m_items;
};

// An accelerator table ("ACCELERATOR" accelerators/<id>.json of the resource module):
//   {"entries": [{"key": "Ctrl+O", "id": 57601}, {"key": "F1", "id": 57670}, ...]}
// Keys are written as Qt key sequences.
class CAcceleratorTable
{
public:
    bool Load(UINT id);
    // The command of the key press, or 0 when the table has none for it.
    UINT Find(int qtKey, Qt::KeyboardModifiers modifiers) const;
    // Sends WM_COMMAND for the key press of a Qt key event to the window; true when the key was
    // in the table and the command was sent.
    bool TranslateAccelerator(CWnd* window, const QKeyEvent* event) const;

private:
    struct Entry
    {
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        UINT id = 0;
    };
    std::vector<Entry> m_entries;
};
