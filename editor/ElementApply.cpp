#include "editor/ElementApply.h"

#include "editor/ElementMetadata.h"
#include "platform/ui/HtmlElement.h"

void ApplyElementChanges(CHtmlElement& element, const ElementChanges& changes)
{
    for (const ElementChange& change : changes)
    {
        switch (change.kind)
        {
        case ElementChange::Style:
            element.SetStyleProperty(change.name, change.value);
            break;
        case ElementChange::Pair:
            SetNameMetadata(element, change.name, change.value);
            break;
        case ElementChange::Attribute:
            if (change.value.isEmpty())
                element.RemoveAttribute(change.name);
            else
                element.SetAttribute(change.name, change.value);
            break;
        }
    }
}

ElementReading ReadElementValues(const CHtmlElement& element, const QStringList& styles,
                                 const QStringList& attributes, const QStringList& pairs)
{
    ElementReading reading;
    for (const QString& name : styles)
        reading.style[name] = element.GetStyleProperty(name);
    for (const QString& name : attributes)
    {
        if (QString value; element.GetAttribute(name, value))
            reading.attributes[name] = value;
    }
    for (const QString& name : pairs)
        reading.pairs[name] = GetNameMetadata(element, name);
    return reading;
}
