#pragma once

#include "base/LocalTime.h"
#include "ndb/NdbColor.h"

#include <QDateTime>
#include <QString>

#include <memory>

class CPSArchive;

namespace ndb
{
// The type code of a field value: how its payload is read and archived.
enum NdbValueType
{
    NdbValueBool = 0,
    NdbValueInt = 1,
    NdbValueFloat = 2,
    NdbValueText = 3,
    NdbValueTime = 4,
    NdbValueIntCode = 100,
    NdbValueLength = 200,
    NdbValueColor = 210,
    // CSS keyword enumerations; their codes and keywords are in ndb/NdbCssKeywords.h.
    NdbValueFontStyle = 300,
    NdbValueFontVariant = 310,
    NdbValueFontWeight = 320,
    NdbValueTextAlign = 330,
    NdbValueVerticalAlign = 340,
    NdbValueTextTransform = 350,
    NdbValueBorderStyle = 370,
    NdbValueBackgroundRepeat = 380,
    NdbValueBackgroundAttachment = 390,
    NdbValueBackgroundPositionX = 500,
    NdbValueBackgroundPositionY = 510,
    NdbValueCursor = 600,
    NdbValueWhiteSpace = 700,
    NdbValueFloatKeyword = 710,
    NdbValueClear = 720,
    NdbValueOverflow = 730,
    NdbValuePosition = 740,
    NdbValueDisplay = 750,
    // Enumerations of single record classes.
    NdbValueMailGroupKind = 800,
    NdbValueSenderKind = 850,
    NdbValueSendStatus = 900,
    NdbValueColorLabel = 950,
    NdbValueShortcutLinkType = 999,
};

// The unit of a length value (type 200).
enum NdbLengthUnit
{
    NdbUnitNone = 0,
    NdbUnitPx = 1,
    NdbUnitPt = 2,
    NdbUnitMm = 3,
    NdbUnitCm = 4,
    NdbUnitIn = 5,
    NdbUnitEm = 6,
    NdbUnitEx = 7,
    NdbUnitPercent = 10,
};

// The value of one record field: a type code and a payload read by it. Flags, numbers, codes and
// lengths live in 32 bits; texts, times and colours are owned, and copies behave as deep ones
// (a colour is shared between copies, but never changed through them).
//
// Large recipient lists hold millions of values, so the class is kept at 32 bytes: no virtual
// functions (nothing derives from it), and the owned payload (or a length's unit) in a union
// whose live member the type code tells.
//
// A type code the program does not know survives loading, copying and saving as the bare code,
// so a file written by a later version keeps its other fields readable.
class CNdbFieldValue
{
public:
    // Int 0: what a field map hands out for a missing id.
    CNdbFieldValue() = default;
    // A value of a type whose payload is 32 bits: bool, int, float (its bit pattern), int code
    // and every keyword enumeration. For a bool only the low byte counts.
    CNdbFieldValue(int type, qint32 payload);
    explicit CNdbFieldValue(const QString& text);
    explicit CNdbFieldValue(const char16_t* text);
    CNdbFieldValue(float number, int unit);
    explicit CNdbFieldValue(const CNdbColor& color);
    explicit CNdbFieldValue(const QDateTime& time);
    CNdbFieldValue(const CNdbFieldValue& other);
    CNdbFieldValue& operator=(const CNdbFieldValue& other);
    CNdbFieldValue(CNdbFieldValue&& other) noexcept;
    CNdbFieldValue& operator=(CNdbFieldValue&& other) noexcept;
    ~CNdbFieldValue()
    {
        if (OwnsObject())
            DestroyOwned();
    }

    static bool IsKnownType(int type);

    int GetType() const { return m_type; }
    // The payload read without looking at the type: 0 for a text, time or colour.
    bool GetBool() const { return (m_bits & 0xFF) != 0; }
    qint32 GetInt() const { return m_bits; }
    float GetFloat() const;
    int GetUnit() const;
    // The text of a type-3 value; empty for every other type.
    QString GetString() const;
    // The time of a type-4 value; a null time for every other type.
    QDateTime GetTime() const;
    // The colour of a type-210 value; null for every other type.
    const CNdbColor* GetColor() const;

    void Serialize(CPSArchive& archive);

    // The unit code of the first suffix found anywhere in the text, tested in the order px, pt,
    // mm, cm, in, em, ex, %; 0 when none occurs. Case-sensitive, and the number is not read.
    static int ParseUnit(const QString& text);
    static QString UnitToText(int unit);
    QString GetUnitText() const { return UnitToText(GetUnit()); }
    // The length as CSS: up to three decimals without trailing zeros, always with "." as the
    // decimal point, then the unit; zero is "0" without a unit.
    QString FormatLength() const;

private:
    // A time set by the program is kept as given; a time read from an archive stays in its
    // stored form until GetTime asks, so a load makes no system call per time.
    struct Time
    {
        QDateTime given;
        CLocalTime stored;
    };
    // The live member follows from the type code: text for 3, time for 4, unit for 200, colour
    // for 210, none for every other type. A value made from the bare code of one of these
    // types holds an empty member.
    union Owned
    {
        Owned() {}
        ~Owned() {}
        qint32 unit;
        QString text;
        Time time;
        std::shared_ptr<const CNdbColor> color;
    };

    // Each starts from a value whose member is not alive and leaves the member of m_type alive.
    bool OwnsObject() const
    {
        return m_type == NdbValueText || m_type == NdbValueTime || m_type == NdbValueColor;
    }
    void ConstructOwned();
    template <class Other> void TakeOwned(Other&& other);
    void DestroyOwned();

    int m_type{NdbValueInt};
    qint32 m_bits{0};
    Owned m_owned;
};
} // namespace ndb
