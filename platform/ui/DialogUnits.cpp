#include "platform/ui/DialogUnits.h"

#include <QFontMetrics>
#include <cmath>

namespace
{
int MulDiv(int value, int numerator, int denominator)
{
    return int(std::lround(double(value) * numerator / denominator));
}
} // namespace

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The average over the Latin letters, rounded the way Windows rounds it.
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = std::max(1, (letters / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.ascent() + metrics.descent());
}

int CDialogUnits::ToPixelsX(int units) const
{
    return MulDiv(units, m_baseX, 4);
}

int CDialogUnits::ToPixelsY(int units) const
{
    return MulDiv(units, m_baseY, 8);
}

CRect CDialogUnits::ToPixels(const CRect& r) const
{
    return {ToPixelsX(r.left), ToPixelsY(r.top), ToPixelsX(r.right), ToPixelsY(r.bottom)};
}
