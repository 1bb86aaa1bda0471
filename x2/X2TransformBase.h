#pragma once

#include <QString>

// A text transform: Escape is applied to text and attribute values when writing, Unescape when
// parsing. Transforms hold no state.
class CX2TransformBase
{
public:
    virtual ~CX2TransformBase() = default;
    virtual QString Escape(const QString& text) const = 0;
    virtual QString Unescape(const QString& text) const = 0;
};
