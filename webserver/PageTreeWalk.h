#pragma once

#include "x2/X2Element.h"

// Calls visit for the node and then for each of its children in order, element before
// children. visit may rewrite the node it is given (its children are read afterwards).
template <class Visit> void ForEachNode(CX2Element* node, Visit&& visit)
{
    visit(node);
    for (int i = 0; i < node->GetChildCount(); ++i)
        ForEachNode(node->GetChild(i), visit);
}

// Makes the node an empty text node: it and everything inside it leave the page.
inline void MakeEmptyText(CX2Element* node)
{
    node->RemoveAllChildren();
    node->RemoveAllAttributes();
    node->SetName(QString());
    node->SetText(QString());
    node->SetKind(CX2Element::Text);
}
