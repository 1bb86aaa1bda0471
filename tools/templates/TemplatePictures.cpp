#include "tools/templates/TemplatePictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace
{
QColor Mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QColor WithAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QImage Canvas(const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void Sky(QPainter& painter, const QSize& size, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
}

// A band of water or land: a wave line across the picture, filled to its bottom.
void Wave(QPainter& painter, const QSize& size, double base, double amplitude, double periods, double phase,
          const QColor& colour)
{
    QPainterPath path;
    path.moveTo(0, size.height());
    for (int x = 0; x <= size.width(); x += 4)
        path.lineTo(x,
                    base + amplitude * std::sin(phase + periods * 2 * std::numbers::pi * x / size.width()));
    path.lineTo(size.width(), size.height());
    path.closeSubpath();
    painter.fillPath(path, colour);
}

void Lighthouse(QPainter& painter, double x, double bottom, double height, const QColor& colour)
{
    QPainterPath tower;
    tower.moveTo(x - height * 0.09, bottom);
    tower.lineTo(x - height * 0.05, bottom - height * 0.8);
    tower.lineTo(x + height * 0.05, bottom - height * 0.8);
    tower.lineTo(x + height * 0.09, bottom);
    tower.closeSubpath();
    painter.fillPath(tower, colour);
    painter.fillRect(QRectF(x - height * 0.07, bottom - height * 0.92, height * 0.14, height * 0.1),
                     QColor(255, 236, 160));
    painter.fillRect(QRectF(x - height * 0.08, bottom - height * 0.96, height * 0.16, height * 0.04), colour);
    QRadialGradient glow(QPointF(x, bottom - height * 0.87), height * 0.5);
    glow.setColorAt(0, QColor(255, 240, 180, 120));
    glow.setColorAt(1, QColor(255, 240, 180, 0));
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(x, bottom - height * 0.87), height * 0.5, height * 0.5);
}

void Sun(QPainter& painter, const QPointF& centre, double radius, const QColor& colour)
{
    QRadialGradient gradient(centre, radius * 2.2);
    gradient.setColorAt(0, WithAlpha(colour, 230));
    gradient.setColorAt(0.45, WithAlpha(colour, 200));
    gradient.setColorAt(0.46, WithAlpha(colour, 70));
    gradient.setColorAt(1, WithAlpha(colour, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, radius * 2.2, radius * 2.2);
}

void Leaf(QPainter& painter, const QPointF& at, double length, double angle, const QColor& colour)
{
    painter.save();
    painter.translate(at);
    painter.rotate(angle);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.quadTo(length * 0.5, -length * 0.35, length, 0);
    leaf.quadTo(length * 0.5, length * 0.35, 0, 0);
    painter.fillPath(leaf, colour);
    painter.setPen(QPen(WithAlpha(Qt::white, 90), 1));
    painter.drawLine(QPointF(0, 0), QPointF(length * 0.9, 0));
    painter.restore();
}

void Fruit(QPainter& painter, const QPointF& centre, double radius, const QColor& colour)
{
    QRadialGradient gradient(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
    gradient.setColorAt(0, colour.lighter(150));
    gradient.setColorAt(1, colour.darker(125));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(90, 60, 30), radius * 0.12, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(0, -radius * 0.9), centre + QPointF(radius * 0.15, -radius * 1.3));
    Leaf(painter, centre + QPointF(radius * 0.1, -radius * 1.05), radius * 0.8, -30, QColor(70, 150, 60));
}

void Awning(QPainter& painter, const QSize& size, const QColor& dark, const QColor& light)
{
    const int stripes = 12;
    const double width = double(size.width()) / stripes;
    const double depth = size.height() * 0.22;
    for (int i = 0; i < stripes; ++i)
    {
        QPainterPath stripe;
        stripe.moveTo(i * width, 0);
        stripe.lineTo((i + 1) * width, 0);
        stripe.lineTo((i + 1) * width, depth);
        stripe.arcTo(QRectF(i * width, depth - width / 2, width, width), 0, -180);
        stripe.closeSubpath();
        painter.fillPath(stripe, i % 2 ? light : dark);
    }
}

void Confetti(QPainter& painter, const QSize& size, const QColor& dark, const QColor& light)
{
    // A fixed scatter, so that the picture is the same on every run.
    unsigned seed = 7;
    const auto next = [&seed](int range)
    {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % unsigned(range));
    };
    const QColor colours[] = {light, QColor(255, 214, 90), QColor(255, 255, 255, 200), dark.lighter(170)};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 90; ++i)
    {
        const QPointF at(size.width() * 0.35 + next(int(size.width() * 0.65)), next(size.height()));
        painter.setBrush(colours[i % 4]);
        painter.save();
        painter.translate(at);
        painter.rotate(next(180));
        if (i % 3 == 0)
            painter.drawEllipse(QPointF(0, 0), 3.5, 3.5);
        else
            painter.drawRect(QRectF(-5, -2, 10, 4));
        painter.restore();
    }
}

void Boat(QPainter& painter, const QSize& size, const QColor& dark, const QColor& light)
{
    const double w = size.width();
    const double h = size.height();
    Sky(painter, size, Mix(light, Qt::white, 0.6), Mix(light, Qt::white, 0.2));
    Sun(painter, QPointF(w * 0.78, h * 0.3), h * 0.1, QColor(255, 250, 235));
    Wave(painter, size, h * 0.72, 3, 3, 0.5, Mix(dark, light, 0.45));
    QPainterPath hull;
    hull.moveTo(w * 0.22, h * 0.66);
    hull.lineTo(w * 0.78, h * 0.66);
    hull.lineTo(w * 0.68, h * 0.8);
    hull.lineTo(w * 0.3, h * 0.8);
    hull.closeSubpath();
    painter.fillPath(hull, dark);
    QPainterPath sail;
    sail.moveTo(w * 0.5, h * 0.12);
    sail.lineTo(w * 0.5, h * 0.62);
    sail.lineTo(w * 0.28, h * 0.62);
    sail.closeSubpath();
    painter.fillPath(sail, Qt::white);
    QPainterPath jib;
    jib.moveTo(w * 0.53, h * 0.2);
    jib.lineTo(w * 0.53, h * 0.62);
    jib.lineTo(w * 0.72, h * 0.62);
    jib.closeSubpath();
    painter.fillPath(jib, QColor(236, 92, 60));
    painter.setPen(QPen(dark, 2));
    painter.drawLine(QPointF(w * 0.515, h * 0.1), QPointF(w * 0.515, h * 0.66));
    Wave(painter, size, h * 0.8, 4, 4, 1.2, Mix(dark, light, 0.2));
    Wave(painter, size, h * 0.88, 3, 5, 2.0, dark);
}

void Chart(QPainter& painter, const QSize& size, const QColor& dark, const QColor& light)
{
    const double w = size.width();
    const double h = size.height();
    painter.fillRect(QRect(QPoint(0, 0), size), Mix(light, Qt::white, 0.85));
    painter.setPen(QPen(Mix(dark, Qt::white, 0.75), 1));
    for (int i = 1; i < 5; ++i)
        painter.drawLine(QPointF(w * 0.08, h * 0.15 * i + h * 0.05),
                         QPointF(w * 0.94, h * 0.15 * i + h * 0.05));
    const double values[] = {0.35, 0.48, 0.44, 0.62, 0.78};
    QPainterPath trend;
    for (int i = 0; i < 5; ++i)
    {
        const double x = w * (0.12 + i * 0.17);
        const double top = h * (0.86 - values[i] * 0.75);
        QLinearGradient bar(0, top, 0, h * 0.86);
        bar.setColorAt(0, light);
        bar.setColorAt(1, dark);
        painter.fillRect(QRectF(x, top, w * 0.11, h * 0.86 - top), bar);
        const QPointF point(x + w * 0.055, top - h * 0.06);
        if (i == 0)
            trend.moveTo(point);
        else
            trend.lineTo(point);
    }
    painter.setPen(QPen(QColor(236, 140, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trend);
    painter.setPen(QPen(dark, 2));
    painter.drawLine(QPointF(w * 0.08, h * 0.86), QPointF(w * 0.94, h * 0.86));
}

void Basket(QPainter& painter, const QSize& size, const QColor& dark, const QColor& light)
{
    const double w = size.width();
    const double h = size.height();
    Sky(painter, size, Mix(light, Qt::white, 0.75), Mix(light, Qt::white, 0.45));
    Fruit(painter, QPointF(w * 0.36, h * 0.5), h * 0.15, QColor(220, 50, 40));
    Fruit(painter, QPointF(w * 0.52, h * 0.44), h * 0.16, QColor(245, 150, 30));
    Fruit(painter, QPointF(w * 0.67, h * 0.52), h * 0.14, QColor(150, 190, 50));
    QPainterPath basket;
    basket.moveTo(w * 0.2, h * 0.58);
    basket.lineTo(w * 0.8, h * 0.58);
    basket.lineTo(w * 0.72, h * 0.9);
    basket.lineTo(w * 0.28, h * 0.9);
    basket.closeSubpath();
    QLinearGradient weave(0, h * 0.58, 0, h * 0.9);
    weave.setColorAt(0, QColor(196, 140, 80));
    weave.setColorAt(1, QColor(140, 92, 46));
    painter.fillPath(basket, weave);
    painter.setPen(QPen(QColor(120, 78, 38), 1.5));
    for (int i = 1; i < 4; ++i)
        painter.drawLine(QPointF(w * (0.2 + 0.02 * i), h * (0.58 + 0.08 * i)),
                         QPointF(w * (0.8 - 0.02 * i), h * (0.58 + 0.08 * i)));
    painter.setPen(QPen(dark, 3));
    painter.drawLine(QPointF(w * 0.17, h * 0.58), QPointF(w * 0.83, h * 0.58));
}

void Calendar(QPainter& painter, const QSize& size, const QColor& dark, const QColor& light)
{
    const double w = size.width();
    const double h = size.height();
    painter.fillRect(QRect(QPoint(0, 0), size), Mix(light, Qt::white, 0.8));
    const QRectF page(w * 0.22, h * 0.14, w * 0.56, h * 0.74);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawRoundedRect(page.translated(4, 5), 8, 8);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(page, 8, 8);
    painter.setBrush(dark);
    painter.drawRoundedRect(QRectF(page.left(), page.top(), page.width(), page.height() * 0.24), 8, 8);
    painter.drawRect(
        QRectF(page.left(), page.top() + page.height() * 0.14, page.width(), page.height() * 0.1));
    for (int row = 0; row < 4; ++row)
    {
        for (int column = 0; column < 5; ++column)
        {
            const QRectF day(page.left() + page.width() * (0.08 + column * 0.175),
                             page.top() + page.height() * (0.32 + row * 0.16), page.width() * 0.12,
                             page.height() * 0.1);
            painter.setBrush(row == 2 && column == 3 ? QColor(236, 92, 60) : Mix(light, Qt::white, 0.55));
            painter.drawRoundedRect(day, 2, 2);
        }
    }
}
} // namespace

namespace TemplatePictures
{
QImage Banner(const QString& kind, const QColor& dark, const QColor& light, const QSize& size)
{
    QImage image = Canvas(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    if (kind == QLatin1String("harbour"))
    {
        Sky(painter, size, dark, Mix(dark, light, 0.7));
        Sun(painter, QPointF(w * 0.72, h * 0.42), h * 0.13, QColor(255, 236, 190));
        Lighthouse(painter, w * 0.88, h * 0.78, h * 0.7, Mix(dark, Qt::black, 0.3));
        Wave(painter, size, h * 0.74, 5, 3, 0.0, WithAlpha(Mix(dark, light, 0.4), 220));
        Wave(painter, size, h * 0.82, 4, 4, 1.3, WithAlpha(Mix(dark, light, 0.2), 235));
        Wave(painter, size, h * 0.9, 3, 5, 2.1, dark);
    }
    else if (kind == QLatin1String("meadow"))
    {
        Sky(painter, size, Mix(dark, light, 0.35), Mix(light, Qt::white, 0.5));
        Sun(painter, QPointF(w * 0.82, h * 0.3), h * 0.12, QColor(255, 244, 200));
        Wave(painter, size, h * 0.62, 10, 1.2, 0.4, Mix(dark, light, 0.55));
        Wave(painter, size, h * 0.74, 8, 1.6, 2.2, Mix(dark, light, 0.3));
        Wave(painter, size, h * 0.86, 6, 2.0, 4.0, dark);
        for (int i = 0; i < 7; ++i)
            Leaf(painter, QPointF(w * (0.55 + 0.06 * i), h * (0.62 + 0.03 * (i % 3))), h * 0.16, -60 - 12 * i,
                 WithAlpha(Mix(dark, Qt::black, 0.1), 200));
    }
    else if (kind == QLatin1String("market"))
    {
        Sky(painter, size, Mix(dark, light, 0.45), light);
        Awning(painter, size, dark, Qt::white);
        const QColor colours[] = {QColor(220, 50, 40), QColor(245, 150, 30), QColor(150, 190, 50),
                                  QColor(250, 200, 40)};
        for (int i = 0; i < 6; ++i)
            Fruit(painter, QPointF(w * (0.6 + 0.065 * i), h * (0.72 - 0.1 * (i % 2))), h * 0.11,
                  colours[i % 4]);
    }
    else
    {
        Sky(painter, size, dark, Mix(dark, light, 0.6));
        Confetti(painter, size, dark, light);
    }
    return image;
}

QImage Illustration(const QString& kind, const QColor& dark, const QColor& light, const QSize& size)
{
    QImage image = Canvas(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (kind == QLatin1String("harbour"))
        Boat(painter, size, dark, light);
    else if (kind == QLatin1String("meadow"))
        Chart(painter, size, dark, light);
    else if (kind == QLatin1String("market"))
        Basket(painter, size, dark, light);
    else
        Calendar(painter, size, dark, light);
    return image;
}

QImage GalleryBar()
{
    QImage image = Canvas(QSize(8, 90));
    QPainter painter(&image);
    Sky(painter, image.size(), QColor(0xdd, 0xe6, 0xf3), Qt::white);
    return image;
}

QImage SelectionFrame(const QColor& colour)
{
    QImage image = Canvas(QSize(216, 268));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 213, 265), 6, 6);
    return image;
}

QImage NewBadge(const QString& text)
{
    QImage image = Canvas(QSize(30, 13));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd6, 0x2f, 0x2f));
    painter.drawRoundedRect(QRectF(0, 0, 30, 13), 3, 3);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 30, 13), Qt::AlignCenter, text);
    return image;
}

QImage DefaultThumbnail()
{
    QImage image = Canvas(QSize(202, 254));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), QColor(0xf2, 0xf4, 0xf7));
    painter.fillRect(QRect(16, 16, 170, 46), QColor(0xc9, 0xd3, 0xe1));
    painter.setBrush(QColor(0xdc, 0xe2, 0xeb));
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i)
        painter.drawRoundedRect(QRectF(16, 78 + i * 20, i % 3 == 2 ? 110 : 170, 8), 3, 3);
    return image;
}
} // namespace TemplatePictures
