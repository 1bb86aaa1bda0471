#include "charts/ChartPainters.h"

#include "charts/ChartNumbers.h"
#include "charts/GraphData.h"
#include "charts/PieChartStyle.h"
#include "gre/GreImage.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextOption>

#include <algorithm>
#include <initializer_list>

namespace
{
// Charts are drawn in the face the desktop's menus would use on the original platform; here
// that is the metric twin of Arial where it is installed, else DejaVu, else any sans-serif.
QString ChartFontFamily()
{
    static const QString family = []
    {
        for (const char* name : {"Liberation Sans", "DejaVu Sans"})
            if (QFontDatabase::hasFamily(QString::fromLatin1(name)))
                return QString::fromLatin1(name);
        return QString();
    }();
    return family;
}

QFont ChartFont(int pixelSize, bool bold)
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    if (!ChartFontFamily().isEmpty())
        font.setFamily(ChartFontFamily());
    font.setPixelSize(std::max(1, pixelSize));
    font.setBold(bold);
    return font;
}

bool CanDrawText()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// A blank bitmap of the size; false, leaving the image empty, when the size is refused or no
// text could be drawn on it.
bool CreateCanvas(gre::CGreImage& image, long long width, long long height)
{
    if (!CanDrawText() || width < 1 || height < 1 || width > INT_MAX || height > INT_MAX)
    {
        image.Create(0, 0);
        return false;
    }
    return image.Create(int(width), int(height));
}

// The longest side and the longest length of a chart layout. A style whose lengths all lie
// within it keeps every coordinate the painters add up from a handful of them far inside int.
constexpr long long MaxLayoutLength = 1 << 20;

bool AreLayoutLengths(std::initializer_list<long long> lengths)
{
    return std::all_of(lengths.begin(), lengths.end(),
                       [](long long length) { return length >= 0 && length <= MaxLayoutLength; });
}

bool IsDrawable(const CBarChartStyle& s, long long height)
{
    return s.rowHeight >= 1 &&
           AreLayoutLengths({s.leftMargin, s.topMargin, s.rightMargin, s.bottomMargin, s.imageWidth,
                             s.barAreaWidth, s.GetLabelWidth(), height, s.rowHeight, s.barThickness,
                             s.depthHeight, s.depthWidth, s.labelGap, s.scaleDivisions, s.labelFontSize,
                             s.scaleFontSize});
}

bool IsDrawable(const CLineChartStyle& s)
{
    return AreLayoutLengths({s.leftMargin, s.topMargin, s.rightMargin, s.bottomMargin, s.imageWidth,
                             s.imageHeight, s.scaleColumnWidth, s.scaleFontSize, s.dateFontSize, s.markerSize,
                             s.markerBorder, s.horizontalDivisions, s.minorTickLength, s.majorTickLength});
}

void PreparePainter(QPainter& painter)
{
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void FillVerticalGradient(QPainter& painter, const QRect& area, QRgb top, QRgb bottom, int height)
{
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0.0, QColor::fromRgba(top));
    gradient.setColorAt(1.0, QColor::fromRgba(bottom));
    painter.fillRect(area, gradient);
}

void DrawLine(QPainter& painter, QRgb color, int x1, int y1, int x2, int y2)
{
    painter.setPen(QPen(QColor::fromRgba(color), 1));
    painter.drawLine(x1, y1, x2, y2);
}

void FrameRect(QPainter& painter, QRgb color, const QRect& rect)
{
    painter.setPen(QPen(QColor::fromRgba(color), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
}

// Text wraps at words, or anywhere when a word alone is too wide (long link addresses), and is
// clipped to its box.
void DrawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font, QRgb color,
              Qt::Alignment alignment)
{
    if (text.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return;
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(color));
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(box, text, option);
    painter.restore();
}

QRectF BoxFromEdges(double left, double top, double right, double bottom)
{
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// The nearest whole count of a value, as the charts print it.
int RoundedValue(float value)
{
    return TruncateToInt(double(value) + 0.5);
}

void DrawBarRow(QPainter& painter, const CBarChartStyle& s, const CGraphData& table, int row, int axis,
                const QFont& labelFont, const QFont& valueFont)
{
    const int y = s.topMargin + row * s.rowHeight;
    const int labelWidth = int(s.GetLabelWidth());
    const int barLeft = s.leftMargin + labelWidth;
    const int barRight = barLeft + s.barAreaWidth;
    if (row > 0)
    {
        DrawLine(painter, s.labelColumnSeparatorColor, s.leftMargin, y, s.leftMargin + labelWidth - 1, y);
        DrawLine(painter, s.barAreaSeparatorColor, barLeft, y, barRight - 1, y);
    }
    DrawText(painter, QRectF(s.leftMargin, y, labelWidth - s.labelGap, s.rowHeight), table.GetRowLabel(row),
             labelFont, s.rowLabelColor, Qt::AlignRight | Qt::AlignVCenter);

    const float value = table.GetValue(row, 0);
    const int length =
        axis == 0 ? 0
                  : std::clamp(TruncateToInt(double(s.barAreaWidth) * value / axis + 0.5), 0, s.barAreaWidth);
    const int top = y + (s.depthHeight + s.rowHeight - s.barThickness) / 2;
    const int bottom = top + s.barThickness;
    const int x0 = barLeft;
    const int x1 = x0 + length;
    if (length > 0)
    {
        const QRgb color = ColorRefToArgb(table.GetRowColor(row));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgba(ShiftColor(color, 40)));
        painter.drawPolygon(
            QPolygonF({QPointF(x0, top - s.depthHeight), QPointF(x1 + s.depthWidth, top - s.depthHeight),
                       QPointF(x1, top), QPointF(x0, top)}));
        painter.setBrush(QColor::fromRgba(ShiftColor(color, -35)));
        painter.drawPolygon(QPolygonF({QPointF(x1 + s.depthWidth, top - s.depthHeight),
                                       QPointF(x1 + s.depthWidth, bottom - s.depthHeight),
                                       QPointF(x1, bottom), QPointF(x1, top)}));
        QLinearGradient front(x0, top - 1, x0, bottom);
        front.setColorAt(0.0, QColor::fromRgba(color));
        front.setColorAt(1.0, QColor::fromRgba(ShiftColor(color, -25)));
        painter.fillRect(QRect(x0, top, length, s.barThickness), front);
    }

    // A bar near the axis leaves less room in the bar area than its number needs; the number
    // then runs on into the margin rather than being cut.
    const QString text = QString::number(RoundedValue(value));
    const int textLeft = x1 + s.depthWidth + s.labelGap / 2;
    int textRight = barRight;
    if (textRight - textLeft < QFontMetrics(valueFont).horizontalAdvance(text) + 1)
        textRight = std::max(textRight, s.imageWidth);
    DrawText(painter, BoxFromEdges(textLeft, y, textRight, y + s.rowHeight), text, valueFont, s.valueColor,
             Qt::AlignLeft | Qt::AlignVCenter);
}
} // namespace

QRgb ShiftColor(QRgb color, int amount)
{
    amount = std::clamp(amount, -255, 255);
    auto shift = [amount](int channel) { return std::clamp(channel + amount, 0, 255); };
    return qRgb(shift(qRed(color)), shift(qGreen(color)), shift(qBlue(color)));
}

bool DrawBarGraph(const CGraphData& table, gre::CGreImage& image, const CBarChartStyle* style)
{
    const CBarChartStyle s = style ? *style : CBarChartStyle();
    const int rows = table.GetRowCount();
    const long long height = s.GetImageHeight(rows);
    if (!IsDrawable(s, height) || !CreateCanvas(image, s.imageWidth, height))
        return false;
    const int width = s.imageWidth;
    const int bottom = int(height) - s.bottomMargin;
    const int areaHeight = bottom - s.topMargin;
    const int labelWidth = int(s.GetLabelWidth());
    const int barLeft = s.leftMargin + labelWidth;
    const int axis = table.GetAxisMaximum();
    const int divisions = std::max(1, s.scaleDivisions);

    QPainter painter(&image.GetBitmap());
    PreparePainter(painter);
    FillVerticalGradient(painter, QRect(0, 0, width, int(height)), s.backgroundTopColor,
                         s.backgroundBottomColor, int(height));
    painter.fillRect(QRect(s.leftMargin, s.topMargin, labelWidth, areaHeight),
                     QColor::fromRgba(s.labelColumnColor));
    painter.fillRect(QRect(barLeft, s.topMargin, s.barAreaWidth, areaHeight),
                     QColor::fromRgba(s.barAreaColor));

    const QFont scaleFont = ChartFont(s.scaleFontSize, false);
    const int division = s.barAreaWidth / divisions;
    for (int i = 0; i <= divisions; ++i)
    {
        const int x = barLeft + i * division;
        if (i % 2 == 1 && i < divisions)
            painter.fillRect(QRect(x, s.topMargin, division, areaHeight), QColor::fromRgba(s.stripeColor));
        DrawText(painter, QRectF(x - division / 2, bottom + 6, division, 16),
                 QString::number(static_cast<long long>(axis) * i / divisions), scaleFont, 0xFF000000,
                 Qt::AlignCenter);
        DrawLine(painter, s.axisColor, x, bottom, x, bottom + 4);
    }

    const QFont labelFont = ChartFont(s.labelFontSize, true);
    const QFont valueFont = ChartFont(s.labelFontSize, false);
    for (int row = 0; row < rows; ++row)
        DrawBarRow(painter, s, table, row, axis, labelFont, valueFont);

    FrameRect(painter, s.axisColor, QRect(barLeft, s.topMargin, s.barAreaWidth, areaHeight));
    return true;
}

bool DrawLineGraph(const CGraphData& table, gre::CGreImage& image, const CLineChartStyle* style)
{
    const CLineChartStyle s = style ? *style : CLineChartStyle();
    const int rows = table.GetRowCount();
    if (rows == 0 || table.GetColumnCount() == 0 || !IsDrawable(s))
        return false;
    const int divisions = std::max(1, s.horizontalDivisions);
    const int plotLeft = s.leftMargin + s.scaleColumnWidth;
    const int plotRight = s.imageWidth - s.rightMargin - s.scaleColumnWidth;
    const int plotWidth = plotRight - plotLeft;
    const int plotTop = s.topMargin;
    const int lowest = s.imageHeight - s.bottomMargin;
    if (plotWidth < 1 || lowest - plotTop < divisions)
        return false;
    const int plotBottom = lowest - (lowest - plotTop) % divisions;
    const int plotHeight = plotBottom - plotTop;
    const int band = plotHeight / divisions;
    if (!CreateCanvas(image, s.imageWidth, s.imageHeight))
        return false;
    const int axis = table.GetAxisMaximum();

    QPainter painter(&image.GetBitmap());
    PreparePainter(painter);
    FillVerticalGradient(painter, QRect(0, 0, s.imageWidth, s.imageHeight), s.backgroundTopColor,
                         s.backgroundBottomColor, s.imageHeight);
    painter.fillRect(QRect(plotLeft, plotTop, plotWidth, plotHeight), QColor::fromRgba(s.plotColor));

    const QFont scaleFont = ChartFont(s.scaleFontSize, false);
    for (int i = 0; i <= divisions; ++i)
    {
        const int y = plotBottom - i * band;
        DrawLine(painter, s.axisColor, plotLeft, y, s.leftMargin, y);
        DrawLine(painter, s.axisColor, plotRight + s.scaleColumnWidth, y, plotRight, y);
        DrawLine(painter, s.gridColor, plotRight, y, plotLeft, y);
        if (i == divisions)
            continue;
        const QString number = QString::number(static_cast<long long>(axis) * (i + 1) / divisions);
        DrawText(painter, QRectF(s.leftMargin, y - band, s.scaleColumnWidth, band), number, scaleFont,
                 s.textColor, Qt::AlignLeft | Qt::AlignTop);
        DrawText(painter, QRectF(plotRight, y - band, s.scaleColumnWidth, band), number, scaleFont,
                 s.textColor, Qt::AlignRight | Qt::AlignTop);
    }

    const QFont dateFont = ChartFont(s.dateFontSize, s.dateFontBold);
    const int spacing = std::max(1, s.labelSpacing);
    // Wide enough for the dates up to the next label, and never wider than the image.
    const long long labelWidth =
        std::min<long long>(static_cast<long long>(plotWidth) * spacing / rows, s.imageWidth);
    QPolygonF points;
    for (int j = 0; j < rows; ++j)
    {
        const int x =
            rows == 1 ? plotLeft : plotLeft + int(static_cast<long long>(j) * plotWidth / (rows - 1));
        const int rise =
            std::clamp(TruncateToInt(double(plotHeight) * table.GetValue(j, 0) / axis + 0.5), 0, plotHeight);
        points.append(QPointF(x, plotBottom - rise));
        if (j % spacing == 0)
        {
            DrawLine(painter, s.gridColor, x, plotTop, x, plotBottom);
            DrawText(painter, QRectF(x + 2, plotBottom + 2, double(labelWidth), 5.0 * s.dateFontSize),
                     table.GetRowLabel(j), dateFont, s.textColor, Qt::AlignLeft | Qt::AlignTop);
            DrawLine(painter, s.axisColor, x, plotBottom, x, plotBottom + s.majorTickLength);
        }
        else
        {
            DrawLine(painter, s.axisColor, x, plotBottom, x, plotBottom + s.minorTickLength);
        }
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF area = points;
    area.append(QPointF(plotRight, plotBottom));
    area.append(QPointF(plotLeft, plotBottom));
    QColor areaColor = QColor::fromRgba(s.areaColor);
    areaColor.setAlpha(0x80);
    painter.setPen(Qt::NoPen);
    painter.setBrush(areaColor);
    painter.drawPolygon(area, Qt::OddEvenFill);

    const int marker = s.markerSize + s.markerBorder;
    const QPen linePen(QColor::fromRgba(s.lineColor), 2);
    for (qsizetype i = 0; i < points.size(); ++i)
    {
        const QPointF& point = points[i];
        if (i + 1 < points.size())
        {
            painter.setPen(linePen);
            painter.drawLine(point, points[i + 1]);
        }
        const QRect outer(int(point.x()) - marker / 2, int(point.y()) - marker / 2, marker, marker);
        painter.fillRect(outer, QColor::fromRgba(s.plotColor));
        painter.fillRect(QRect(outer.left() + 1, outer.top() + 1, marker - 2, marker - 2),
                         QColor::fromRgba(s.lineColor));
    }
    painter.setRenderHint(QPainter::Antialiasing, false);

    FrameRect(painter, s.axisColor, QRect(plotLeft, plotTop, plotWidth, plotHeight));
    return true;
}

bool DrawPieGraph(gre::CGreImage& image, const CGraphData& table)
{
    const CPieChartStyle p;
    const int rows = table.GetRowCount();
    if (rows == 0 || table.GetColumnCount() == 0)
        return false;
    const int width = p.GetImageWidth();
    const int height = p.GetImageHeight();
    if (!CreateCanvas(image, width, height))
        return false;
    const int pieArea = p.GetPieAreaWidth();

    QPainter painter(&image.GetBitmap());
    PreparePainter(painter);
    painter.fillRect(QRect(0, 0, pieArea, height), QColor::fromRgba(ColorRefToArgb(p.pieBackground)));
    FillVerticalGradient(painter, QRect(pieArea, 0, width - pieArea, height),
                         ColorRefToArgb(p.legendTopColor), ColorRefToArgb(p.legendBottomColor), height);

    // Slices follow each other counter-clockwise from three o'clock; the last one closes the
    // circle whatever the rounding left.
    double total = 0.0;
    std::vector<double> shares(size_t(rows), 0.0);
    for (int j = 0; j < rows; ++j)
    {
        const double value = table.GetValue(j, 0);
        shares[size_t(j)] = std::isfinite(value) && value > 0.0 ? value : 0.0;
        total += shares[size_t(j)];
    }
    if (total != 0.0)
    {
        const QRectF circle(p.margin, p.margin, 2 * p.radius, 2 * p.radius);
        std::vector<QPainterPath> slices;
        double start = 0.0;
        for (int j = 0; j < rows; ++j)
        {
            const double sweep = j + 1 == rows ? 360.0 - start : shares[size_t(j)] / total * 360.0;
            QPainterPath slice(circle.center());
            slice.arcTo(circle, start, sweep);
            slice.closeSubpath();
            slices.push_back(slice);
            start += sweep;
        }
        painter.setRenderHint(QPainter::Antialiasing, true);
        for (int j = 0; j < rows; ++j)
            painter.fillPath(slices[size_t(j)], QColor::fromRgba(ColorRefToArgb(table.GetRowColor(j))));
        painter.setPen(QPen(QColor::fromRgba(ColorRefToArgb(p.pieBackground)), 1));
        painter.setBrush(Qt::NoBrush);
        for (const QPainterPath& slice : slices)
            painter.drawPath(slice);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }

    const QFont labelFont = ChartFont(p.legendFontSize, true);
    const QFont valueFont = ChartFont(p.legendFontSize, false);
    const QRgb textColor = ColorRefToArgb(p.legendTextColor);
    const int swatchLeft = pieArea + p.legendInset;
    const int textLeft = swatchLeft + p.swatchSize + p.legendInset;
    int swatchTop = p.legendInset;
    int textTop = p.legendInset - p.legendFontSize / 6;
    for (int j = 0; j < rows && textTop < height; ++j)
    {
        painter.fillRect(QRect(swatchLeft, swatchTop, p.swatchSize, p.swatchSize),
                         QColor::fromRgba(ColorRefToArgb(table.GetRowColor(j))));
        const QRectF box(textLeft, textTop, width - textLeft, p.legendRowHeight);
        DrawText(painter, box, table.GetRowLabel(j), labelFont, textColor, Qt::AlignLeft | Qt::AlignTop);
        const QString valueLine =
            QStringLiteral("%1 (%2%)").arg(RoundedValue(table.GetValue(j, 0))).arg(table.GetPiePercent(j));
        DrawText(painter, box.adjusted(0, p.valueLineOffset, 0, 0), valueLine, valueFont, textColor,
                 Qt::AlignLeft | Qt::AlignTop);
        swatchTop += p.legendRowHeight;
        textTop += p.legendRowHeight;
    }
    return true;
}
