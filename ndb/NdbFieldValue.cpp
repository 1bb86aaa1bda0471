#include "ndb/NdbFieldValue.h"

#include "base/ArchiveValues.h"

#include <bit>
#include <cmath>
#include <new>

namespace ndb
{
namespace
{
bool HasIntPayload(int type)
{
    switch (type)
    {
    case NdbValueInt:
    case NdbValueIntCode:
    case NdbValueFontStyle:
    case NdbValueFontVariant:
    case NdbValueFontWeight:
    case NdbValueTextAlign:
    case NdbValueVerticalAlign:
    case NdbValueTextTransform:
    case NdbValueBorderStyle:
    case NdbValueBackgroundRepeat:
    case NdbValueBackgroundAttachment:
    case NdbValueBackgroundPositionX:
    case NdbValueBackgroundPositionY:
    case NdbValueCursor:
    case NdbValueWhiteSpace:
    case NdbValueFloatKeyword:
    case NdbValueClear:
    case NdbValueOverflow:
    case NdbValuePosition:
    case NdbValueDisplay:
    case NdbValueMailGroupKind:
    case NdbValueSenderKind:
    case NdbValueSendStatus:
    case NdbValueColorLabel:
    case NdbValueShortcutLinkType:
        return true;
    default:
        return false;
    }
}

struct UnitSuffix
{
    int unit;
    const char16_t* suffix;
};

// Also the order in which ParseUnit looks for them.
constexpr UnitSuffix UnitSuffixes[] = {
    {NdbUnitPx, u"px"}, {NdbUnitPt, u"pt"}, {NdbUnitMm, u"mm"}, {NdbUnitCm, u"cm"},
    {NdbUnitIn, u"in"}, {NdbUnitEm, u"em"}, {NdbUnitEx, u"ex"}, {NdbUnitPercent, u"%"},
};
} // namespace

static_assert(sizeof(CNdbFieldValue) <= 32, "field values of large recipient lists must stay small");

CNdbFieldValue::CNdbFieldValue(int type, qint32 payload)
    : m_type(type), m_bits(type == NdbValueBool ? (payload & 0xFF) : payload)
{
    ConstructOwned();
}

CNdbFieldValue::CNdbFieldValue(const QString& text) : m_type(NdbValueText)
{
    new (&m_owned.text) QString(text);
}

CNdbFieldValue::CNdbFieldValue(const char16_t* text) : CNdbFieldValue(QString::fromUtf16(text)) {}

CNdbFieldValue::CNdbFieldValue(float number, int unit)
    : m_type(NdbValueLength), m_bits(std::bit_cast<qint32>(number))
{
    m_owned.unit = unit;
}

CNdbFieldValue::CNdbFieldValue(const CNdbColor& color) : m_type(NdbValueColor)
{
    new (&m_owned.color) std::shared_ptr<const CNdbColor>(std::make_shared<const CNdbColor>(color));
}

CNdbFieldValue::CNdbFieldValue(const QDateTime& time) : m_type(NdbValueTime)
{
    new (&m_owned.time) Time{time, CLocalTime()};
}

CNdbFieldValue::CNdbFieldValue(const CNdbFieldValue& other) : m_type(other.m_type), m_bits(other.m_bits)
{
    TakeOwned(other);
}

CNdbFieldValue::CNdbFieldValue(CNdbFieldValue&& other) noexcept : m_type(other.m_type), m_bits(other.m_bits)
{
    TakeOwned(std::move(other));
}

CNdbFieldValue& CNdbFieldValue::operator=(const CNdbFieldValue& other)
{
    if (this != &other)
    {
        DestroyOwned();
        m_type = other.m_type;
        m_bits = other.m_bits;
        TakeOwned(other);
    }
    return *this;
}

CNdbFieldValue& CNdbFieldValue::operator=(CNdbFieldValue&& other) noexcept
{
    if (this != &other)
    {
        DestroyOwned();
        m_type = other.m_type;
        m_bits = other.m_bits;
        TakeOwned(std::move(other));
    }
    return *this;
}

void CNdbFieldValue::ConstructOwned()
{
    switch (m_type)
    {
    case NdbValueText:
        new (&m_owned.text) QString();
        break;
    case NdbValueTime:
        new (&m_owned.time) Time();
        break;
    case NdbValueLength:
        m_owned.unit = NdbUnitNone;
        break;
    case NdbValueColor:
        new (&m_owned.color) std::shared_ptr<const CNdbColor>();
        break;
    default:
        break;
    }
}

// Copies or moves as other is passed: a member of an rvalue is an rvalue.
template <class Other> void CNdbFieldValue::TakeOwned(Other&& other)
{
    switch (m_type)
    {
    case NdbValueText:
        new (&m_owned.text) QString(std::forward<Other>(other).m_owned.text);
        break;
    case NdbValueTime:
        new (&m_owned.time) Time(std::forward<Other>(other).m_owned.time);
        break;
    case NdbValueLength:
        m_owned.unit = other.m_owned.unit;
        break;
    case NdbValueColor:
        new (&m_owned.color) std::shared_ptr<const CNdbColor>(std::forward<Other>(other).m_owned.color);
        break;
    default:
        break;
    }
}

void CNdbFieldValue::DestroyOwned()
{
    switch (m_type)
    {
    case NdbValueText:
        m_owned.text.~QString();
        break;
    case NdbValueTime:
        m_owned.time.~Time();
        break;
    case NdbValueColor:
        m_owned.color.~shared_ptr();
        break;
    default:
        break;
    }
}

bool CNdbFieldValue::IsKnownType(int type)
{
    return HasIntPayload(type) || type == NdbValueBool || type == NdbValueFloat || type == NdbValueText ||
           type == NdbValueTime || type == NdbValueLength || type == NdbValueColor;
}

float CNdbFieldValue::GetFloat() const
{
    return std::bit_cast<float>(m_bits);
}

int CNdbFieldValue::GetUnit() const
{
    return m_type == NdbValueLength ? m_owned.unit : NdbUnitNone;
}

QString CNdbFieldValue::GetString() const
{
    return m_type == NdbValueText ? m_owned.text : QString();
}

QDateTime CNdbFieldValue::GetTime() const
{
    if (m_type != NdbValueTime)
        return QDateTime();
    const Time& time = m_owned.time;
    return time.stored.IsNull() ? time.given : time.stored.ToDateTime();
}

const CNdbColor* CNdbFieldValue::GetColor() const
{
    return m_type == NdbValueColor ? m_owned.color.get() : nullptr;
}

void CNdbFieldValue::Serialize(CPSArchive& archive)
{
    if (archive.IsReading())
    {
        // Int 0 until the type is known, so that a read that fails here leaves a sound value.
        DestroyOwned();
        m_type = NdbValueInt;
        m_bits = 0;
        qint32 type = 0;
        ArchiveReadInt(archive, type);
        m_type = type;
        ConstructOwned();
        if (type == NdbValueBool)
        {
            qint32 flag = 0;
            ArchiveReadInt(archive, flag);
            m_bits = flag != 0 ? 1 : 0;
        }
        else if (type == NdbValueFloat || HasIntPayload(type))
            ArchiveReadInt(archive, m_bits);
        else if (type == NdbValueText)
            ArchiveReadString(archive, m_owned.text);
        else if (type == NdbValueTime)
            ArchiveReadTime(archive, m_owned.time.stored);
        else if (type == NdbValueLength)
        {
            ArchiveReadInt(archive, m_bits);
            ArchiveReadInt(archive, m_owned.unit);
        }
        else if (type == NdbValueColor)
        {
            auto color = std::make_shared<CNdbColor>();
            color->Serialize(archive);
            m_owned.color = std::move(color);
        }
        return;
    }

    ArchiveWriteInt(archive, m_type);
    if (m_type == NdbValueBool)
        ArchiveWriteInt(archive, GetBool() ? 1 : 0);
    else if (m_type == NdbValueFloat || HasIntPayload(m_type))
        ArchiveWriteInt(archive, m_bits);
    else if (m_type == NdbValueText)
        ArchiveWriteString(archive, m_owned.text);
    else if (m_type == NdbValueTime)
    {
        // A time read from a file goes back as it was stored, without a trip through the zone.
        const Time& time = m_owned.time;
        ArchiveWriteTime(archive, time.stored.IsNull() ? CLocalTime::FromDateTime(time.given) : time.stored);
    }
    else if (m_type == NdbValueLength)
    {
        ArchiveWriteInt(archive, m_bits);
        ArchiveWriteInt(archive, m_owned.unit);
    }
    else if (m_type == NdbValueColor)
    {
        // In place, not as an object pointer: no class-table entry. A value made from a bare
        // type code owns no colour and writes the default one.
        CNdbColor color = GetColor() ? *GetColor() : CNdbColor();
        color.Serialize(archive);
    }
}

int CNdbFieldValue::ParseUnit(const QString& text)
{
    for (const UnitSuffix& entry : UnitSuffixes)
    {
        if (text.contains(QStringView(entry.suffix)))
            return entry.unit;
    }
    return NdbUnitNone;
}

QString CNdbFieldValue::UnitToText(int unit)
{
    for (const UnitSuffix& entry : UnitSuffixes)
    {
        if (entry.unit == unit)
            return QString::fromUtf16(entry.suffix);
    }
    return {};
}

QString CNdbFieldValue::FormatLength() const
{
    const float number = GetFloat();
    // A damaged file can hold any bit pattern; "nanpx" would break the whole rule.
    if (number == 0 || !std::isfinite(number))
        return QStringLiteral("0");
    // QString::number ignores the locale: CSS needs "." whatever the user's decimal separator.
    QString text = QString::number(double(number), 'f', 3);
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0)
    {
        qsizetype end = text.size();
        while (end > point + 1 && text.at(end - 1) == u'0')
            --end;
        if (end == point + 1)
            end = point;
        text.truncate(end);
    }
    return text + GetUnitText();
}
} // namespace ndb
