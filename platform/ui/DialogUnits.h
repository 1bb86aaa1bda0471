#pragma once

#include "platform/ui/Rect.h"

#include <QFont>

// Dialog units of a dialog font: a horizontal unit is a quarter of the font's average character
// width, a vertical unit an eighth of its height.
class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont& font);

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }
    CRect ToPixels(const CRect& dialogUnits) const;
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;

private:
    int m_baseX = 1;
    int m_baseY = 1;
};
