#pragma once

#include "x2/X2TransformBase.h"

// HTML keeps its entities as they are: text nodes hold the markup's own text.
class CX2TransformIdentity : public CX2TransformBase
{
public:
    QString Escape(const QString& text) const override { return text; }
    QString Unescape(const QString& text) const override { return text; }
};
