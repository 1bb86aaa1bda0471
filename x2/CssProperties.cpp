#include "x2/CssProperties.h"

#include <array>

namespace
{
struct CssProperty
{
    int id;
    const char* name;
};

constexpr std::array<CssProperty, 65> Properties = {{
    {50, "background-repeat"},
    {51, "background-position"},
    {100, "font"},
    {101, "font-family"},
    {102, "font-style"},
    {103, "font-variant"},
    {104, "font-weight"},
    {105, "font-size"},
    {197, "background"},
    {198, "background-image"},
    {199, "background-color"},
    {200, "border"},
    {201, "border-left"},
    {202, "border-top"},
    {203, "border-right"},
    {204, "border-bottom"},
    {205, "border-width"},
    {206, "border-left-width"},
    {207, "border-top-width"},
    {208, "border-right-width"},
    {209, "border-bottom-width"},
    {210, "border-color"},
    {211, "border-left-color"},
    {212, "border-top-color"},
    {213, "border-right-color"},
    {214, "border-bottom-color"},
    {215, "border-style"},
    {216, "border-left-style"},
    {217, "border-top-style"},
    {218, "border-right-style"},
    {219, "border-bottom-style"},
    {220, "clear"},
    {221, "clip"},
    {222, "cursor"},
    {223, "display"},
    {224, "float"},
    {225, "width"},
    {226, "height"},
    {227, "left"},
    {228, "top"},
    {229, "right"},
    {230, "bottom"},
    {231, "margin"},
    {232, "margin-left"},
    {233, "margin-top"},
    {234, "margin-right"},
    {235, "margin-bottom"},
    {236, "overflow"},
    {237, "padding"},
    {238, "padding-left"},
    {239, "padding-top"},
    {240, "padding-right"},
    {241, "padding-bottom"},
    {242, "position"},
    {243, "vertical-align"},
    {244, "visibility"},
    {245, "z-index"},
    {300, "color"},
    {301, "direction"},
    {302, "letter-spacing"},
    {303, "line-height"},
    {304, "text-align"},
    {305, "text-decoration"},
    {306, "text-indent"},
    {307, "word-spacing"},
}};
} // namespace

int CssPropertyIdFromName(const QString& name)
{
    for (const CssProperty& property : Properties)
    {
        if (name == QLatin1String(property.name))
            return property.id;
    }
    return 0;
}

QString CssPropertyNameFromId(int id)
{
    for (const CssProperty& property : Properties)
    {
        if (property.id == id)
            return QString::fromLatin1(property.name);
    }
    return QStringLiteral("<unknown>");
}
