// Draws the Intro Menu's pictures into res/images/: the menu itself (232), its picture buttons
// (261 to 266), the icons of recent newsletters and mailing lists (267, 268) and the row of a
// recent entry (269): kv_intro_menu_images <repository root>. Button pictures are strips of four
// frames: normal, hover, pressed, disabled. Run it again after changing a look; the files are
// committed.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace
{
const QColor Olive(0x68, 0x7a, 0x00);
const QColor DarkOlive(0x3c, 0x47, 0x00);
const QColor Paper(0xfb, 0xfa, 0xf2);
const QColor Ink(0x33, 0x3a, 0x22);
const QColor Frame(0xc9, 0xcd, 0xb6);

QFont Font(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// A strip of four frames, each drawn by the painter function with the frame's number.
QImage Strip(int width, int height, const std::function<void(QPainter&, int frame, const QRectF&)>& draw)
{
    QImage image = Canvas(width, height * 4);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int frame = 0; frame < 4; ++frame)
        draw(painter, frame, QRectF(0, frame * height, width, height));
    return image;
}

void Envelope(QPainter& painter, const QRectF& box, const QColor& paper, const QColor& line, qreal pen)
{
    painter.setPen(QPen(line, pen));
    painter.setBrush(paper);
    painter.drawRoundedRect(box, pen + 1, pen + 1);
    QPainterPath flap;
    flap.moveTo(box.left() + pen, box.top() + pen);
    flap.lineTo(box.center().x(), box.top() + box.height() * 0.55);
    flap.lineTo(box.right() - pen, box.top() + pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flap);
}

void Person(QPainter& painter, const QPointF& head, qreal size, const QColor& colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(head, size * 0.22, size * 0.22);
    QPainterPath body;
    body.moveTo(head.x() - size * 0.38, head.y() + size * 0.72);
    body.cubicTo(head.x() - size * 0.38, head.y() + size * 0.22, head.x() + size * 0.38,
                 head.y() + size * 0.22, head.x() + size * 0.38, head.y() + size * 0.72);
    body.closeSubpath();
    painter.drawPath(body);
}

// Colours of a picture button's frames: the hover frame is lighter, the pressed one darker, the
// disabled one grey.
QColor FrameColour(const QColor& colour, int frame)
{
    switch (frame)
    {
    case 1:
        return colour.lighter(115);
    case 2:
        return colour.darker(120);
    case 3:
        return QColor(0xb4, 0xb4, 0xb4);
    default:
        return colour;
    }
}

QImage Bar(const QColor& colour, const QString& text,
           const std::function<void(QPainter&, const QRectF&)>& icon)
{
    return Strip(360, 56,
                 [&](QPainter& painter, int frame, const QRectF& box)
                 {
                     const QRectF face = box.adjusted(1, 1, -1, -2);
                     const QColor base = FrameColour(colour, frame);
                     QLinearGradient gradient(face.topLeft(), face.bottomLeft());
                     gradient.setColorAt(0, base.lighter(125));
                     gradient.setColorAt(1, base);
                     painter.setPen(QPen(base.darker(130), 1));
                     painter.setBrush(gradient);
                     painter.drawRoundedRect(face.translated(0, frame == 2 ? 1 : 0), 8, 8);
                     icon(
                         painter,
                         QRectF(face.left() + 16, face.top() + 11, 32, 32).translated(0, frame == 2 ? 1 : 0));
                     painter.setPen(frame == 3 ? QColor(0xee, 0xee, 0xee) : Qt::white);
                     painter.setFont(Font(20, true));
                     painter.drawText(face.adjusted(64, frame == 2 ? 1 : 0, 0, 0),
                                      Qt::AlignVCenter | Qt::AlignLeft, text);
                 });
}

QImage Tile(const QString& text, const std::function<void(QPainter&, const QRectF&, const QColor&)>& icon)
{
    return Strip(190, 88,
                 [&](QPainter& painter, int frame, const QRectF& box)
                 {
                     const QRectF face = box.adjusted(1, 1, -1, -1);
                     const QColor fill = frame == 1   ? QColor(0xf1, 0xf4, 0xe2)
                                         : frame == 2 ? QColor(0xe2, 0xe7, 0xc9)
                                                      : Paper;
                     const QColor accent = FrameColour(Olive, frame);
                     painter.setPen(QPen(frame == 1 ? Olive : Frame, frame == 1 ? 2 : 1));
                     painter.setBrush(fill);
                     painter.drawRoundedRect(face, 8, 8);
                     icon(painter, QRectF(face.left() + 14, face.top() + 24, 40, 40), accent);
                     painter.setPen(frame == 3 ? QColor(0x99, 0x99, 0x99) : Ink);
                     painter.setFont(Font(15, true));
                     painter.drawText(face.adjusted(66, 0, -6, 0),
                                      Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text);
                 });
}

void PlusIcon(QPainter& painter, const QRectF& box)
{
    Envelope(painter, box.adjusted(0, 5, -6, -5), QColor(255, 255, 255, 60), Qt::white, 2.2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(box.right() - 5, box.bottom() - 6), 8, 8);
    painter.setPen(QPen(QColor(0x4f, 0x8a, 0x1f), 2.5));
    painter.drawLine(QPointF(box.right() - 9.5, box.bottom() - 6),
                     QPointF(box.right() - 0.5, box.bottom() - 6));
    painter.drawLine(QPointF(box.right() - 5, box.bottom() - 10.5),
                     QPointF(box.right() - 5, box.bottom() - 1.5));
}

void FolderIcon(QPainter& painter, const QRectF& box)
{
    QPainterPath folder;
    folder.moveTo(box.left(), box.top() + 6);
    folder.lineTo(box.left() + 11, box.top() + 6);
    folder.lineTo(box.left() + 14, box.top() + 10);
    folder.lineTo(box.right(), box.top() + 10);
    folder.lineTo(box.right(), box.bottom() - 3);
    folder.lineTo(box.left(), box.bottom() - 3);
    folder.closeSubpath();
    painter.setPen(QPen(Qt::white, 2.2));
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawPath(folder);
}

void PlayIcon(QPainter& painter, const QRectF& box, const QColor& colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(box);
    QPainterPath triangle;
    triangle.moveTo(box.left() + box.width() * 0.4, box.top() + box.height() * 0.28);
    triangle.lineTo(box.left() + box.width() * 0.74, box.center().y());
    triangle.lineTo(box.left() + box.width() * 0.4, box.top() + box.height() * 0.72);
    triangle.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(triangle);
}

void BookIcon(QPainter& painter, const QRectF& box, const QColor& colour)
{
    painter.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    const QPointF spineTop(box.center().x(), box.top() + 8);
    const QPointF spineBottom(box.center().x(), box.bottom() - 4);
    for (const int side : {-1, 1})
    {
        QPainterPath page;
        page.moveTo(spineTop);
        page.quadTo(spineTop + QPointF(side * 10, -5), spineTop + QPointF(side * 19, -2));
        page.lineTo(spineBottom + QPointF(side * 19, -2));
        page.quadTo(spineBottom + QPointF(side * 10, -5), spineBottom);
        page.closeSubpath();
        painter.drawPath(page);
    }
}

void GlobeIcon(QPainter& painter, const QRectF& box, const QColor& colour)
{
    painter.setPen(QPen(colour, 2.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(box.adjusted(2, 2, -2, -2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(box.adjusted(12, 2, -12, -2));
    painter.drawLine(QPointF(box.left() + 2, box.center().y()), QPointF(box.right() - 2, box.center().y()));
    painter.drawLine(QPointF(box.center().x(), box.top() + 2), QPointF(box.center().x(), box.bottom() - 2));
}

QImage CloseCross()
{
    return Strip(28, 28,
                 [](QPainter& painter, int frame, const QRectF& box)
                 {
                     painter.setPen(Qt::NoPen);
                     painter.setBrush(frame == 0 ? QColor(0, 0, 0, 0)
                                                 : FrameColour(QColor(0xc0, 0x39, 0x2b), frame - 1));
                     if (frame != 3)
                         painter.drawEllipse(box.adjusted(2, 2, -2, -2));
                     painter.setPen(QPen(frame == 0   ? Ink
                                         : frame == 3 ? QColor(0xb0, 0xb0, 0xb0)
                                                      : Qt::white,
                                         2.5, Qt::SolidLine, Qt::RoundCap));
                     const QRectF cross = box.adjusted(9, 9, -9, -9);
                     painter.drawLine(cross.topLeft(), cross.bottomRight());
                     painter.drawLine(cross.topRight(), cross.bottomLeft());
                 });
}

QImage RecentRow()
{
    return Strip(360, 26,
                 [](QPainter& painter, int frame, const QRectF& box)
                 {
                     const QColor fills[] = {QColor(0xff, 0xff, 0xff), QColor(0xee, 0xf3, 0xdc),
                                             QColor(0xdc, 0xe4, 0xbe), QColor(0xf2, 0xf2, 0xf2)};
                     painter.fillRect(box, fills[frame]);
                 });
}

QImage RecentIcon(bool mailingList)
{
    return Strip(28, 26,
                 [mailingList](QPainter& painter, int frame, const QRectF& box)
                 {
                     const QColor colour = frame == 3 ? QColor(0xa0, 0xa0, 0xa0) : Olive;
                     if (mailingList)
                     {
                         Person(painter, box.topLeft() + QPointF(17, 8), 16, colour.lighter(140));
                         Person(painter, box.topLeft() + QPointF(11, 10), 16, colour);
                     }
                     else
                     {
                         Envelope(painter, QRectF(box.left() + 6, box.top() + 7, 17, 12), Qt::white, colour,
                                  1.5);
                     }
                 });
}

QImage Menu()
{
    QImage image = Canvas(674, 582);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF panel(12, 10, 650, 560);
    // A soft shadow around the panel, made of a few widening outlines.
    for (int i = 8; i > 0; --i)
    {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 10));
        painter.drawRoundedRect(panel.adjusted(-i, -i + 3, i, i + 3), 16 + i, 16 + i);
    }
    QPainterPath shape;
    shape.addRoundedRect(panel, 16, 16);
    painter.fillPath(shape, Paper);
    painter.save();
    painter.setClipPath(shape);
    QLinearGradient header(0, panel.top(), 0, 130);
    header.setColorAt(0, Olive);
    header.setColorAt(1, DarkOlive);
    painter.fillRect(QRectF(panel.left(), panel.top(), panel.width(), 120), header);
    painter.restore();
    Envelope(painter, QRectF(46, 38, 78, 54), Paper, DarkOlive, 2.5);
    painter.setPen(Qt::white);
    painter.setFont(Font(40, true));
    painter.drawText(QRectF(146, 28, 400, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kelvora"));
    painter.setFont(Font(16, false));
    painter.drawText(QRectF(148, 80, 440, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Welcome! What would you like to do today?"));

    painter.setPen(Ink);
    painter.setFont(Font(14, true));
    painter.drawText(QRectF(48, 286, 360, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Recent documents"));
    painter.drawText(QRectF(438, 134, 190, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Get to know Kelvora"));
    painter.setPen(QPen(Frame, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(48.5, 308.5, 361, 135));
    painter.setPen(QPen(Frame, 1));
    painter.drawLine(QPointF(424.5, 150), QPointF(424.5, 440));
    painter.setPen(QColor(0x8a, 0x8f, 0x78));
    painter.setFont(Font(12, false));
    painter.drawText(QRectF(48, 504, 500, 28), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Drag this window to move it. Open it again from File > Intro Menu."));
    return image;
}

bool Save(const QImage& image, const QString& path)
{
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: kv_intro_menu_images <repository root>\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QDir images(QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("res/images")));
    const auto path = [&](int id) { return images.filePath(QStringLiteral("%1.png").arg(id)); };
    const bool saved =
        Save(Menu(), path(232)) && Save(Tile(QStringLiteral("Visit us online"), GlobeIcon), path(261)) &&
        Save(CloseCross(), path(262)) && Save(Tile(QStringLiteral("Intro movie"), PlayIcon), path(263)) &&
        Save(Bar(QColor(0x4a, 0x68, 0x8c), QStringLiteral("Open Newsletter..."), FolderIcon), path(264)) &&
        Save(Tile(QStringLiteral("Tutorials"), BookIcon), path(265)) &&
        Save(Bar(QColor(0x4f, 0x8a, 0x1f), QStringLiteral("Create Newsletter"), PlusIcon), path(266)) &&
        Save(RecentIcon(true), path(267)) && Save(RecentIcon(false), path(268)) &&
        Save(RecentRow(), path(269));
    return saved ? 0 : 1;
}
