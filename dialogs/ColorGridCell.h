#pragma once

#include "ndb/NdbColor.h"
#include "platform/ui/Rect.h"

#include <QString>

// One clickable cell of the popup colour grid, in the popup's client coordinates.
struct ColorGridCell
{
    CRect rect;
    ndb::CNdbColor color;
    QString caption; // only the "No Color" cell has one
};
