#pragma once

#include "gre/GreColor.h"
#include "ndb/NdbColor.h"

#include <QString>

class CComboBox;
class CDataExchange;

namespace ndb
{
class CNdbPalette;
}

// How the effect dialogs show the stored values of layers and effects, and read them back.
namespace GreDialogValues
{
float DegreesFromRadians(float radians);
float RadiansFromDegrees(float degrees);
// Image layers and shadows: 0..255 as a rounded percentage.
int PercentFromOpacity(int opacity);
int OpacityFromPercent(int percent);
// Text layers: 0..255 as a truncated percentage.
int TextPercentFromOpacity(int opacity);
int TextOpacityFromPercent(int percent);

// Three decimals at most, without trailing zeros or a trailing separator: 5.25, 45.
QString FloatText(float value);
// Reads "." or "," as the separator; text that is no number gives 0.
float ParseFloat(const QString& text);
void ExchangeFloatText(CDataExchange* dx, int id, float& value);

// What a swatch shows for a stored colour: a palette reference when it names a palette entry,
// else the fixed opaque colour of its value.
ndb::CNdbColor SwatchColor(const gre::CGreColor& color);
// What a layer stores for a swatch's colour: opaque, with the palette's red, green and blue
// (black for a key the palette lacks) and the key as name for a reference.
gre::CGreColor StoredColor(const ndb::CNdbColor& color, const ndb::CNdbPalette& palette);

// The lists are filled in order, each entry with its code as item data, and the entry of the
// value selected (none when no entry has it).
void FillPlacementList(CComboBox& list, int value);
void FillBlendingList(CComboBox& list, int value);
// The selected entry's code; the value unchanged without a selection.
int SelectedCode(const CComboBox& list, int value);
} // namespace GreDialogValues
