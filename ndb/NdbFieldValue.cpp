#include "ndb/NdbFieldValue.h"

#include "base/ArchiveValues.h"

#include <bit>
#include <cmath>

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

CNdbFieldValue::CNdbFieldValue(int type, qint32 payload)
    : m_type(type), m_bits(type == NdbValueBool ? (payload & 0xFF) : payload)
{
}

CNdbFieldValue::CNdbFieldValue(const QString& text) : m_type(NdbValueText), m_owned(text) {}

CNdbFieldValue::CNdbFieldValue(const char16_t* text) : CNdbFieldValue(QString::fromUtf16(text)) {}

CNdbFieldValue::CNdbFieldValue(float number, int unit)
    : m_type(NdbValueLength), m_bits(std::bit_cast<qint32>(number)), m_owned(LengthUnit{unit})
{
}

CNdbFieldValue::CNdbFieldValue(const CNdbColor& color)
    : m_type(NdbValueColor), m_owned(std::make_shared<const CNdbColor>(color))
{
}

CNdbFieldValue::CNdbFieldValue(const QDateTime& time) : m_type(NdbValueTime), m_owned(time) {}

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
    const LengthUnit* unit = std::get_if<LengthUnit>(&m_owned);
    return unit ? unit->code : NdbUnitNone;
}

QString CNdbFieldValue::GetString() const
{
    const QString* text = std::get_if<QString>(&m_owned);
    return m_type == NdbValueText && text ? *text : QString();
}

QDateTime CNdbFieldValue::GetTime() const
{
    if (m_type != NdbValueTime)
        return QDateTime();
    if (const CLocalTime* stored = std::get_if<CLocalTime>(&m_owned))
        return stored->ToDateTime();
    const QDateTime* time = std::get_if<QDateTime>(&m_owned);
    return time ? *time : QDateTime();
}

const CNdbColor* CNdbFieldValue::GetColor() const
{
    const auto* color = std::get_if<std::shared_ptr<const CNdbColor>>(&m_owned);
    return m_type == NdbValueColor && color ? color->get() : nullptr;
}

void CNdbFieldValue::Serialize(CPSArchive& archive)
{
    if (archive.IsReading())
    {
        m_owned = std::monostate();
        m_bits = 0;
        qint32 type = 0;
        ArchiveReadInt(archive, type);
        m_type = type;
        if (type == NdbValueBool)
        {
            qint32 flag = 0;
            ArchiveReadInt(archive, flag);
            m_bits = flag != 0 ? 1 : 0;
        }
        else if (type == NdbValueFloat || HasIntPayload(type))
            ArchiveReadInt(archive, m_bits);
        else if (type == NdbValueText)
            ArchiveReadString(archive, m_owned.emplace<QString>());
        else if (type == NdbValueTime)
            ArchiveReadTime(archive, m_owned.emplace<CLocalTime>());
        else if (type == NdbValueLength)
        {
            ArchiveReadInt(archive, m_bits);
            ArchiveReadInt(archive, m_owned.emplace<LengthUnit>().code);
        }
        else if (type == NdbValueColor)
        {
            auto color = std::make_shared<CNdbColor>();
            color->Serialize(archive);
            m_owned = std::move(color);
        }
        return;
    }

    ArchiveWriteInt(archive, m_type);
    if (m_type == NdbValueBool)
        ArchiveWriteInt(archive, GetBool() ? 1 : 0);
    else if (m_type == NdbValueFloat || HasIntPayload(m_type))
        ArchiveWriteInt(archive, m_bits);
    else if (m_type == NdbValueText)
        ArchiveWriteString(archive, GetString());
    else if (m_type == NdbValueTime)
    {
        // A time read from a file goes back as it was stored, without a trip through the zone.
        const CLocalTime* stored = std::get_if<CLocalTime>(&m_owned);
        ArchiveWriteTime(archive, stored ? *stored : CLocalTime::FromDateTime(GetTime()));
    }
    else if (m_type == NdbValueLength)
    {
        ArchiveWriteInt(archive, m_bits);
        ArchiveWriteInt(archive, GetUnit());
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
