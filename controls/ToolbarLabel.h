#pragma once

#include "controls/ToolbarItem.h"

#include <QString>

class CToolbarBase;

// The caption in front of a toolbar's text field: a label in the toolbar's colour, as wide as
// its text, and the field after it, both in the given row of set 0.
class CToolbarLabel
{
public:
    static CToolbarItem MakeLabel(CToolbarBase* toolbar, const QString& text, int row);
    // A bordered single-line field; width 0 stretches it to the right margin.
    static CToolbarItem MakeField(CToolbarBase* toolbar, UINT id, CFont* font, int width, int row);
};
