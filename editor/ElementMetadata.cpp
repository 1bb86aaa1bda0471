#include "editor/ElementMetadata.h"

#include "x2/NameMetadata.h"

namespace
{
const QString NameAttribute = QStringLiteral("name");
}

bool SetNameMetadata(CHtmlElement& element, const QString& key, const QString& value)
{
    QString name;
    if (!element.GetAttribute(NameAttribute, name) && element.GetTagName().isEmpty())
        return false;
    const QString changed = SetNameMetadataText(name, key, value);
    // An element left without pairs keeps no empty attribute.
    if (changed.isEmpty())
        return name.isEmpty() || element.RemoveAttribute(NameAttribute);
    return changed == name || element.SetAttribute(NameAttribute, changed);
}

QString GetNameMetadata(const CHtmlElement& element, const QString& key)
{
    QString name;
    return element.GetAttribute(NameAttribute, name) ? GetNameMetadataText(name, key) : QString();
}

void SetStyleIfChanged(CHtmlElement& element, const QString& property, const QString& value)
{
    if (element.GetStyleProperty(property) != value)
        element.SetStyleProperty(property, value);
}

QString Attribute(const CHtmlElement& element, const QString& name)
{
    QString value;
    element.GetAttribute(name, value);
    return value;
}
