#pragma once

#include "editor/ElementChanges.h"

#include <QStringList>

class CHtmlElement;

// What an element of the live page holds of the names its dialog reads.
struct ElementReading
{
    ElementValues style;
    ElementValues attributes; // only those the element has
    ElementValues pairs;
};
ElementReading ReadElementValues(const CHtmlElement& element, const QStringList& styles,
                                 const QStringList& attributes, const QStringList& pairs);

// Carries the changes out on a live element, in their order.
void ApplyElementChanges(CHtmlElement& element, const ElementChanges& changes);
