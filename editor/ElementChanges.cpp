#include "editor/ElementChanges.h"

#include "ndb/NdbLayout.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"

#include <cmath>

using namespace ndb;

namespace
{
// Beyond this no length makes sense on a page; it also keeps the number finite.
constexpr double LargestLength = 1.0e6;

void Set(ElementChanges& changes, ElementChange::Kind kind, const QString& name, const QString& value)
{
    changes.push_back({kind, name, value});
}

void AddBackgroundColor(const CNdbStyle& record, const CNdbPalette* palette, ElementChanges& changes)
{
    CNdbFieldValue value;
    const CNdbColor* color = record.GetField(StyleBackgroundColor, value) ? value.GetColor() : nullptr;
    if (color && color->GetKind() != NdbColorNone)
    {
        Set(changes, ElementChange::Pair, QStringLiteral("background-color"), color->ToText());
        const CNdbColor shown = palette ? palette->ResolveColor(*color) : *color;
        Set(changes, ElementChange::Style, QStringLiteral("background-color"), shown.ToHex());
        return;
    }
    Set(changes, ElementChange::Pair, QStringLiteral("background-color"), QString());
    Set(changes, ElementChange::Style, QStringLiteral("background-color"), QString());
}

void AddBackgroundPosition(const CNdbStyle& record, ElementChanges& changes)
{
    const QString x = record.GetBackgroundPositionXText();
    const QString y = record.GetBackgroundPositionYText();
    if (x.isEmpty() && y.isEmpty())
    {
        Set(changes, ElementChange::Style, QStringLiteral("background-position"), QString());
        Set(changes, ElementChange::Pair, QStringLiteral("background-position"), QString());
        return;
    }
    Set(changes, ElementChange::Pair, QStringLiteral("background-position"),
        QStringLiteral("horz:%1 vert:%2").arg(x, y));
    Set(changes, ElementChange::Style, QStringLiteral("background-position"),
        QStringLiteral("%1 %2")
            .arg(x.isEmpty() ? QStringLiteral("left") : x, y.isEmpty() ? QStringLiteral("top") : y)
            .trimmed());
}
} // namespace

QString ElementValue(const ElementValues& values, const char* name)
{
    const auto found = values.find(QLatin1String(name));
    return found == values.end() ? QString() : found->second;
}

QString LengthText(const CNdbStyle& record, int field)
{
    CNdbFieldValue value;
    return record.GetField(field, value) ? value.FormatLength() : QString();
}

void ReadLengthText(const QString& text, CNdbStyle& record, int field)
{
    float number = 0;
    int unit = NdbUnitNone;
    if (!text.isEmpty() && ParseLengthText(text, number, unit))
        record.SetField(field, CNdbFieldValue(number, unit == NdbUnitNone ? int(NdbUnitPx) : unit));
}

void ReadBackgroundPairs(const ElementValues& pairs, CNdbStyle& record)
{
    const auto value = [&pairs](const char* name) { return ElementValue(pairs, name); };
    CNdbColor background;
    background.FromText(value("background-color"));
    record.SetField(StyleBackgroundColor, CNdbFieldValue(background));
    record.SetField(StyleBackgroundImage, CNdbFieldValue(value("src_ResID")));
    record.SetField(StyleBackgroundPipeline, CNdbFieldValue(value("src_pipelineid")));
    record.SetBackgroundRepeatText(value("background-repeat"));
    const QStringList words = value("background-position").split(QLatin1Char(' '));
    if (words.size() != 2)
        return;
    const QString x = words[0].contains(QLatin1String("horz:")) ? words[0].mid(5) : QString();
    const QString y = words[1].contains(QLatin1String("vert:")) ? words[1].mid(5) : QString();
    record.SetBackgroundPositionXText(x);
    record.SetBackgroundPositionYText(y);
    if (record.GetInt(StyleBackgroundPositionX, -1) == 3)
        ReadLengthText(x, record, StyleBackgroundPositionXLength);
    if (record.GetInt(StyleBackgroundPositionY, -1) == 3)
        ReadLengthText(y, record, StyleBackgroundPositionYLength);
}

bool ParseLengthText(const QString& text, float& number, int& unit)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size() && (trimmed[end] == u'-' || trimmed[end] == u'+'))
        ++end;
    const qsizetype digits = end;
    const auto digitsFrom = [&trimmed](qsizetype at)
    {
        while (at < trimmed.size() && (trimmed[at].isDigit() || trimmed[at] == u'.'))
            ++at;
        return at;
    };
    end = digitsFrom(end);
    // CSS numbers may carry an exponent ("1e3px"); an "e" of a unit such as "em" does not count.
    if (end > digits && end + 1 < trimmed.size() && (trimmed[end] == u'e' || trimmed[end] == u'E'))
    {
        qsizetype exponent = end + 1;
        if (trimmed[exponent] == u'-' || trimmed[exponent] == u'+')
            ++exponent;
        if (exponent < trimmed.size() && trimmed[exponent].isDigit())
            end = digitsFrom(exponent);
    }
    bool ok = false;
    const double value = end > digits ? QStringView(trimmed).left(end).toDouble(&ok) : 0.0;
    if (!ok || !std::isfinite(value) || std::abs(value) > LargestLength)
        return false;
    // The page shows lengths to three decimals; read so, a length reads back as it was written.
    number = float(std::round(value * 1000.0) / 1000.0);
    unit = CNdbFieldValue::ParseUnit(trimmed.mid(end));
    return true;
}

void AddBackgroundChanges(const CNdbStyle& record, const CNdbPalette* palette, const CNdbLayout* layout,
                          ElementChanges& changes)
{
    AddBackgroundColor(record, palette, changes);
    const QString key = record.GetString(StyleBackgroundImage);
    const CNdbResource* image = layout && !key.isEmpty() ? layout->FindResourceById(key) : nullptr;
    if (!image)
    {
        for (const char* name : {"background-image", "background-repeat", "background-position"})
            Set(changes, ElementChange::Style, QLatin1String(name), QString());
        Set(changes, ElementChange::Pair, QStringLiteral("src_ResID"), QString());
        return;
    }
    const QString effect = record.GetString(StyleBackgroundPipeline);
    Set(changes, ElementChange::Pair, QStringLiteral("src_ResID"), key);
    Set(changes, ElementChange::Pair, QStringLiteral("src_pipelineid"), effect);
    Set(changes, ElementChange::Style, QStringLiteral("background-image"),
        QStringLiteral("url(%1%2)")
            .arg(image->GetString(ResourcePath),
                 effect.isEmpty() ? QString() : QStringLiteral("?pid=") + effect));
    const QString repeat = record.GetBackgroundRepeatText();
    Set(changes, ElementChange::Pair, QStringLiteral("background-repeat"), repeat);
    Set(changes, ElementChange::Style, QStringLiteral("background-repeat"), repeat);
    AddBackgroundPosition(record, changes);
}
