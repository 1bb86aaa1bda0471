#include "x2/X2TransformXmlFennick.h"

#include <array>

namespace
{
struct Entity
{
    const char* character;
    const char* reference;
};

// The ampersand first, so that escaping does not escape the entities it made; unescaping takes
// it last, so that "&amp;lt;" reads back as "&lt;" and not as "<".
constexpr std::array<Entity, 5> Entities = {{
    {"&", "&amp;"},
    {"<", "&lt;"},
    {">", "&gt;"},
    {"\"", "&quot;"},
    {"'", "&apos;"},
}};
} // namespace

QString CX2TransformXmlFennick::Escape(const QString& text) const
{
    QString result = text;
    for (const Entity& entity : Entities)
        result.replace(QLatin1String(entity.character), QLatin1String(entity.reference));
    return result;
}

QString CX2TransformXmlFennick::Unescape(const QString& text) const
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString result = text;
    for (auto entity = Entities.rbegin(); entity != Entities.rend(); ++entity)
        result.replace(QLatin1String(entity->reference), QLatin1String(entity->character));
    return result;
}
