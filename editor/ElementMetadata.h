#pragma once

#include "platform/ui/HtmlElement.h"

#include <QString>

// The editor metadata pairs in the "name" attribute of an element of the live document.

// Writes key:value in front of the element's pairs, or removes the key's pair for an empty value.
// False when the attribute could not be read or written.
bool SetNameMetadata(CHtmlElement& element, const QString& key, const QString& value);
// The unescaped value of the key's pair; empty without one or when the element cannot be read.
QString GetNameMetadata(const CHtmlElement& element, const QString& key);

// The attribute's value; empty without one or when the element cannot be read.
QString Attribute(const CHtmlElement& element, const QString& name);

// Sets a property of the element's inline style only when its value differs: the page writes the
// whole style attribute anew at any change. An empty value removes the property.
void SetStyleIfChanged(CHtmlElement& element, const QString& property, const QString& value);
