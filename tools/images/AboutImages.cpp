// Draws the pictures of the About box, its credits and the help window's icon into res/ as PNG
// files: kv_about_images <repository root>. Run it again after changing a look; the files are
// committed.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace
{
const QColor Olive(0x68, 0x7a, 0x00);
const QColor DarkOlive(0x3c, 0x47, 0x00);
const QColor Paper(0xfb, 0xfa, 0xf2);

QFont Font(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A letter: an envelope with its flap, the program's sign.
void DrawEnvelope(QPainter& painter, const QRectF& box, const QColor& paper, const QColor& line)
{
    painter.setPen(QPen(line, 2));
    painter.setBrush(paper);
    painter.drawRoundedRect(box, 3, 3);
    QPainterPath flap;
    flap.moveTo(box.left() + 2, box.top() + 2);
    flap.lineTo(box.center().x(), box.top() + box.height() * 0.55);
    flap.lineTo(box.right() - 2, box.top() + 2);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flap);
}

QImage Banner()
{
    QImage image(450, 120, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 450, 120);
    sky.setColorAt(0, Olive);
    sky.setColorAt(1, DarkOlive);
    painter.fillRect(image.rect(), sky);
    DrawEnvelope(painter, QRectF(28, 30, 84, 58), Paper, DarkOlive);
    painter.setPen(Qt::white);
    painter.setFont(Font(44, true));
    painter.drawText(QRect(135, 18, 300, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kelvora"));
    painter.setFont(Font(15, false));
    painter.drawText(QRect(137, 74, 300, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("HTML newsletters, written and sent"));
    return image;
}

QImage Credits(const QColor& background, const QColor& ink, const QStringList& lines)
{
    QImage image(500, 300, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), background);
    painter.setPen(QPen(ink, 3));
    painter.drawRect(QRectF(8.5, 8.5, 483, 283));
    DrawEnvelope(painter, QRectF(218, 28, 64, 44), Paper, DarkOlive);
    painter.setPen(ink);
    painter.setFont(Font(26, true));
    painter.drawText(QRect(0, 86, 500, 40), Qt::AlignCenter, lines.first());
    painter.setFont(Font(16, false));
    int y = 140;
    for (qsizetype i = 1; i < lines.size(); ++i, y += 28)
        painter.drawText(QRect(0, y, 500, 26), Qt::AlignCenter, lines[i]);
    return image;
}

QImage HelpIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(DarkOlive, size / 16.0));
    painter.setBrush(Olive);
    painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    painter.setPen(Qt::white);
    painter.setFont(Font(size * 3 / 4, true));
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: kv_about_images <repository root>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    root.mkpath(QStringLiteral("res/icons"));
    const QColor cream(0xf6, 0xf3, 0xe2);
    const bool saved =
        Save(Banner(), root.filePath(QStringLiteral("res/images/301.png"))) &&
        Save(Credits(cream, DarkOlive,
                     {QStringLiteral("Thank you for using Kelvora"),
                      QStringLiteral("Written, drawn and tested"),
                      QStringLiteral("by the people who make Kelvora."),
                      QStringLiteral("Every newsletter you send"), QStringLiteral("is why we write it.")}),
             root.filePath(QStringLiteral("res/images/324.png"))) &&
        Save(Credits(DarkOlive, cream,
                     {QStringLiteral("arovleK"), QStringLiteral("You came from the other side."),
                      QStringLiteral("The page goes out, the letters come back:"),
                      QStringLiteral("thank you for reading to the end.")}),
             root.filePath(QStringLiteral("res/images/325.png"))) &&
        Save(HelpIcon(32), root.filePath(QStringLiteral("res/icons/352.png")));
    return saved ? 0 : 1;
}
