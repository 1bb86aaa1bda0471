#pragma once

#include "editor/ElementChanges.h"

class CHtmlElement;

// Carries the changes out on a live element, in their order.
void ApplyElementChanges(CHtmlElement& element, const ElementChanges& changes);
