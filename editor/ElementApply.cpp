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
