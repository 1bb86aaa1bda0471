#pragma once

#include "ndb/NdbFieldValue.h"

#include <QString>

// Appends the markup of a new, empty table to the output: the editor's table class, the border in
// the name metadata for the table properties to read back, shared cell borders when the cells
// touch, and column widths on the first row that add up to the table's width. Nothing is appended
// for no rows or no columns. A column too narrow for its borders is 0 wide, never less.
void BuildNewTableHtml(const QString& borderColor, int border, QString& output, int rows, int columns,
                       const ndb::CNdbFieldValue& width, const ndb::CNdbFieldValue& height, int cellPadding,
                       int cellSpacing, const QString& backgroundColor, const QString& tableId);
