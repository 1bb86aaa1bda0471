#pragma once

#include "editor/ElementChanges.h"

#include <QStringList>

#include <span>

// The style record of a box (a div of class "sys_div") and the element that shows it. Size,
// position, float, overflow, alignment, margins and padding live in the inline style; colours,
// the image reference and borders live in metadata pairs, as their stored form (a palette
// reference, a resource id) has no CSS equivalent, and the inline style only shows them.

// The inline style declarations and the metadata pairs the reader looks at.
const QStringList& BoxStyleNames();
const QStringList& BoxPairNames();

// The record of a box as its element shows it; lengths keep their fraction and unit.
void ReadBoxStyle(const ElementValues& style, const ElementValues& pairs, ndb::CNdbStyle& record);
// A new box: full width, left aligned, in line with the text, z-index 10 once it floats.
void SetNewBoxDefaults(ndb::CNdbStyle& record);
// The changes that make the page's body show the page settings that only its inline style and
// metadata hold.
ElementChanges PageStyleChanges(const ndb::CNdbStyle& record, const ndb::CNdbPalette* palette,
                                const ndb::CNdbLayout* layout);
// The changes that make a box element show the record.
ElementChanges BoxStyleChanges(const ndb::CNdbStyle& record, const ndb::CNdbPalette* palette,
                               const ndb::CNdbLayout* layout);
