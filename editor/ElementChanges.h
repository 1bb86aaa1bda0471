#pragma once

#include <QString>

#include <map>
#include <vector>

namespace ndb
{
class CNdbLayout;
class CNdbPalette;
class CNdbStyle;
} // namespace ndb

// What the element dialogs read of an element and write back: declarations of its inline style
// and editor metadata pairs of its name attribute, each by name.
using ElementValues = std::map<QString, QString>;

// One change of an element, in the order given: an empty value removes the declaration or pair.
struct ElementChange
{
    enum Kind
    {
        Style,
        Pair,
        Attribute, // an empty value removes the attribute
    };
    Kind kind;
    QString name;
    QString value;

    bool operator==(const ElementChange&) const = default;
};
using ElementChanges = std::vector<ElementChange>;

// The value of the name; empty when the element has none.
QString ElementValue(const ElementValues& values, const char* name);
// The record's length field as a style writes it; empty without one.
QString LengthText(const ndb::CNdbStyle& record, int field);

// A CSS length of an inline style ("12px", "-1.5em", "50%"): its number with fraction and its
// unit; false for a text without a leading number or with a number too large to be a length.
bool ParseLengthText(const QString& text, float& number, int& unit);

// A length of an element's style or attribute into the record's field; a bare number is pixels.
// Nothing is stored for a text without a length.
void ReadLengthText(const QString& text, ndb::CNdbStyle& record, int field);

// The background pairs of an element's metadata: colour, image with its effect, tiling and
// position.
void ReadBackgroundPairs(const ElementValues& pairs, ndb::CNdbStyle& record);

// The background of a record as an element shows it: the colour (its pair keeps a palette
// reference, the style the resolved colour), and the image of the layout's resource with its
// effect, tiling and position, or no image when the layout holds no such resource.
void AddBackgroundChanges(const ndb::CNdbStyle& record, const ndb::CNdbPalette* palette,
                          const ndb::CNdbLayout* layout, ElementChanges& changes);
