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
    return element.SetAttribute(NameAttribute, SetNameMetadataText(name, key, value));
}

QString GetNameMetadata(const CHtmlElement& element, const QString& key)
{
    QString name;
    return element.GetAttribute(NameAttribute, name) ? GetNameMetadataText(name, key) : QString();
}
