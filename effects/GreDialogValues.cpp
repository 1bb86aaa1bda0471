#include "effects/GreDialogValues.h"

#include "dialogs/StyleControls.h"
#include "ndb/NdbPalette.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DataExchange.h"

#include <cmath>
#include <numbers>

namespace GreDialogValues
{
float DegreesFromRadians(float radians)
{
    return float(double(radians) * 180.0 / std::numbers::pi);
}

float RadiansFromDegrees(float degrees)
{
    return float(double(degrees) * std::numbers::pi / 180.0);
}

int PercentFromOpacity(int opacity)
{
    return int(opacity * 100.0 / 255.0 + 0.5);
}

// The factor is the single-precision 2.55, so 50 % gives 127 and 1 % gives 3.
int OpacityFromPercent(int percent)
{
    return int(double(percent) * double(2.55f) + 0.5);
}

int TextPercentFromOpacity(int opacity)
{
    return opacity * 100 / 255;
}

int TextOpacityFromPercent(int percent)
{
    return percent * 255 / 100;
}

QString FloatText(float value)
{
    QString text = QString::number(double(value), 'f', 3);
    if (text.contains(u'.'))
    {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

float ParseFloat(const QString& text)
{
    QString number = text.trimmed();
    number.replace(u',', u'.');
    // Like the C library, the longest leading number counts.
    qsizetype end = 0;
    if (end < number.size() && (number[end] == u'-' || number[end] == u'+'))
        ++end;
    while (end < number.size() && (number[end].isDigit() || number[end] == u'.'))
        ++end;
    bool ok = false;
    const double value = number.left(end).toDouble(&ok);
    return ok && std::isfinite(value) ? float(value) : 0.0f;
}

void ExchangeFloatText(CDataExchange* dx, int id, float& value)
{
    QString text = FloatText(value);
    DDX_Text(dx, id, text);
    if (dx->m_bSaveAndValidate)
        value = ParseFloat(text);
}

ndb::CNdbColor SwatchColor(const gre::CGreColor& color)
{
    if (!color.GetName().isEmpty())
        return ndb::CNdbColor(color.GetName());
    return ndb::CNdbColor(color.GetRed(), color.GetGreen(), color.GetBlue());
}

gre::CGreColor StoredColor(const ndb::CNdbColor& color, const ndb::CNdbPalette& palette)
{
    if (color.GetKind() == ndb::NdbColorPalette)
    {
        const ndb::CNdbColor resolved = palette.ResolveColor(color);
        const ndb::CNdbRgba rgba =
            resolved.GetKind() == ndb::NdbColorFixed ? resolved.GetRgba() : ndb::CNdbRgba(0, 0, 0);
        gre::CGreColor stored(rgba.red, rgba.green, rgba.blue, 0xFF);
        stored.SetName(color.GetKey());
        return stored;
    }
    const ndb::CNdbRgba& rgba = color.GetRgba();
    return gre::CGreColor(rgba.red, rgba.green, rgba.blue, 0xFF);
}

void FillPlacementList(CComboBox& list, int value)
{
    static constexpr KeywordEntry Placements[] = {
        {9932, 0}, {9921, 1}, {9922, 2},  {9923, 3},  {9924, 4},  {9925, 5},  {9926, 6},  {9927, 7},
        {9928, 8}, {9929, 9}, {9933, 10}, {9934, 11}, {9935, 12}, {9930, 13}, {9936, 14}, {9931, 15}};
    FillKeywordList(list, Placements);
    SelectCode(list, value);
}

void FillBlendingList(CComboBox& list, int value)
{
    static constexpr KeywordEntry Blendings[] = {{9940, 0}, {9941, 1}};
    FillKeywordList(list, Blendings);
    SelectCode(list, value);
}

int SelectedCode(const CComboBox& list, int value)
{
    const int code = ::SelectedCode(list);
    return code == NoEntry ? value : code;
}
} // namespace GreDialogValues
