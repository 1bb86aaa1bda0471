#pragma once

#include "editor/ElementChanges.h"

#include <QStringList>

// The style records of a table and of a table cell and the elements that show them. Sizes,
// alignments, wrapping and padding live in the inline style (older markup keeps some in
// attributes, which are read and then cleared); the border and background sources live in
// metadata pairs, as their stored form (a palette reference, a resource id) has no CSS equivalent.
// A bare number in a width or height attribute is pixels, a percentage stays one.

// The inline style declarations, attributes and metadata pairs the readers look at.
const QStringList& TableStyleNames();
const QStringList& TableAttributeNames();
const QStringList& TablePairNames();
const QStringList& CellStyleNames();
const QStringList& CellAttributeNames();
const QStringList& CellPairNames();

void ReadTableStyle(const ElementValues& style, const ElementValues& attributes, const ElementValues& pairs,
                    ndb::CNdbStyle& record, int& cellPadding, int& cellSpacing);
// The changes that make a table show the record, and the border its cells get: the declaration,
// empty for none.
ElementChanges TableStyleChanges(const ndb::CNdbStyle& record, const ndb::CNdbPalette* palette,
                                 const ndb::CNdbLayout* layout, int cellPadding, int cellSpacing,
                                 QString& cellBorder);

// The border declaration of the record's table for its cells; empty for none.
QString CellBorderOf(const ndb::CNdbStyle& record, const ndb::CNdbPalette* palette);

void ReadCellStyle(const ElementValues& style, const ElementValues& attributes, const ElementValues& pairs,
                   ndb::CNdbStyle& record, bool& useDefaultPadding);
ElementChanges CellStyleChanges(const ndb::CNdbStyle& record, const ndb::CNdbPalette* palette,
                                const ndb::CNdbLayout* layout, bool useDefaultPadding);
