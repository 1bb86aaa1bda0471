#pragma once

#include "platform/ui/Rect.h"
#include "platform/ui/WinTypes.h"

#include <QByteArray>
#include <QString>
#include <vector>

struct DialogItemTemplate
{
    UINT id = 0;
    // "button", "static", "edit", "combobox", "listbox", "msctls_progress32", "msctls_updown32",
    // "SysTreeView32", "SysListView32"
    QString className;
    QString text;
    CRect rect; // dialog units: left, top, right, bottom
    DWORD style = 0;
};

// A dialog resource: caption, size and controls in dialog units, and the dialog font.
// Stored as JSON, e.g. {"caption": "Progress", "size": [186, 74], "style": ["popup", "caption"],
// "font": ["MS Shell Dlg", 8], "controls": [{"id": 1197, "class": "button", "text": "&Abort",
// "rect": [67, 53, 50, 14], "style": ["default", "tabstop"]}]}; rectangles are x, y, width, height.
struct DialogTemplate
{
    QString caption;
    int width = 0;
    int height = 0;
    DWORD style = 0;
    QString fontFace;
    int fontPointSize = 8;
    std::vector<DialogItemTemplate> items;
};

// False, leaving the template untouched, for malformed data or unknown classes and styles.
bool ParseDialogTemplate(const QByteArray& json, DialogTemplate* dialog);
bool LoadDialogTemplate(UINT id, DialogTemplate* dialog);
