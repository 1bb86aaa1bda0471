#pragma once

#include "x2/X2TransformBase.h"

// The five predefined XML entities; numeric character references are left alone.
class CX2TransformXmlFennick : public CX2TransformBase
{
public:
    QString Escape(const QString& text) const override;
    QString Unescape(const QString& text) const override;
};
