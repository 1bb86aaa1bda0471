// How text layers measure and render their text (see GreRenderContext.h).
#include "gre/GreLayerText.h"
#include "gre/GreRenderContext.h"
#include "gre/GreRenderGeometry.h"
#include "platform/gui/FontNames.h"

#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace gre
{
namespace
{
// Longer texts are cut: no caption comes near it, and laying out text costs time on the
// connection thread that renders it.
constexpr int MaxTextLength = 8192;
// Larger letters are drawn at this size. It keeps the longest text within the coordinates the
// text layout can hold (about eight million pixels).
constexpr qreal MaxEmSize = 1024;

// Text is laid out and drawn at 96 dots per inch, so a size in pixels keeps its meaning on any
// screen, and no window is needed to measure on (connection threads measure too).
constexpr qreal TextDpi = 96;
constexpr int TextDotsPerMeter = 3780;

void SetTextResolution(QImage& image)
{
    image.setDotsPerMeterX(TextDotsPerMeter);
    image.setDotsPerMeterY(TextDotsPerMeter);
}

QImage TextDevice()
{
    QImage device(1, 1, QImage::Format_ARGB32);
    SetTextResolution(device);
    return device;
}

bool IsDrawableSize(float size)
{
    return std::isfinite(size) && size > 0;
}

qreal EmSize(float size)
{
    return IsDrawableSize(size) ? std::min<qreal>(size, MaxEmSize) : 1;
}

QString TextToLayOut(const QString& text)
{
    QString lines = text.left(MaxTextLength);
    lines.replace(QStringLiteral("\r\n"), QChar(QChar::LineSeparator));
    lines.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
    lines.replace(QLatin1Char('\r'), QChar(QChar::LineSeparator));
    return lines;
}

int PictureSide(qreal side)
{
    return int(std::clamp<qreal>(std::trunc(side + 1), 0, MaxPlacedSide));
}

// The text of a layer wrapped at a width, one line under the other. Every line keeps a sixth of
// the em free on either side, as text pictures always had; it also leaves room for the
// overhang of italic letters.
class CTextBlock
{
public:
    CTextBlock(const CGreLayerText& layer, int maxWidth)
        : m_device(TextDevice()), m_padding(EmSize(layer.GetSize()) / 6),
          m_layout(TextToLayOut(layer.GetText()), layer.MakeFont(), &m_device)
    {
        QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_layout.setTextOption(option);

        const qreal wrapWidth = std::max<qreal>(maxWidth - 2 * m_padding, 1);
        qreal y = 0;
        m_layout.beginLayout();
        for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine())
        {
            line.setLeadingIncluded(true);
            line.setLineWidth(wrapWidth);
            line.setPosition(QPointF(m_padding, y));
            y += line.height();
            m_textWidth = std::max(m_textWidth, line.naturalTextWidth());
        }
        m_layout.endLayout();
        m_textHeight = y;
    }

    // 0 x 0 when there is no text.
    QSize GetPictureSize() const
    {
        if (m_layout.lineCount() == 0 || m_textHeight <= 0)
            return QSize(0, 0);
        return QSize(PictureSide(m_textWidth + 2 * m_padding), PictureSide(m_textHeight));
    }

    // Lines aligned inside a picture of that width.
    void Draw(QPainter& painter, int alignment, int width)
    {
        for (int i = 0; i < m_layout.lineCount(); ++i)
        {
            QTextLine line = m_layout.lineAt(i);
            qreal x = m_padding;
            if (alignment == AlignCentre)
                x = (width - line.naturalTextWidth()) / 2;
            else if (alignment == AlignRight)
                x = width - m_padding - line.naturalTextWidth();
            line.setPosition(QPointF(x, line.y()));
        }
        m_layout.draw(&painter, QPointF(0, 0));
    }

private:
    QImage m_device;
    qreal m_padding;
    QTextLayout m_layout;
    qreal m_textWidth{0};
    qreal m_textHeight{0};
};
} // namespace

QFont CGreLayerText::MakeFont() const
{
    // The same installed look-alikes for Windows names as the dialogs and controls draw with.
    QFont font(MapWindowsFontFamily(m_fontName));
    font.setStyleHint(QFont::SansSerif, m_smoothing ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPointSizeF(EmSize(m_size) * 72 / TextDpi);
    font.setBold(m_bold);
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    font.setStrikeOut(m_strikeout);
    return font;
}

QSize CGreLayerText::Measure(int maxWidth) const
{
    if (maxWidth <= 0 || !IsDrawableSize(m_size) || m_text.isEmpty())
        return QSize(0, 0);
    return CTextBlock(*this, maxWidth).GetPictureSize();
}

QSize CGreLayerText::GetRotatedExtent(const CGreRenderContext&) const
{
    const QSize measured = Measure(0x7FFFFFFF);
    if (measured.width() <= 0 || measured.height() <= 0)
        return QSize(0, 0);
    return AddMargins(GetRotatedSize(measured, GetLayerRotation(*this)), GetMargins());
}

void CGreLayerText::Prepare(CGreRenderContext& context)
{
    // A layer with nothing to show keeps no picture, so text removed since the last render
    // does not stay on the next one.
    m_picture = CGreImage();
    const QRect box = GetLayerBox(*this, context.GetTarget().GetSize());
    if (box.isEmpty() || !IsDrawableSize(m_size) || m_text.isEmpty())
        return;
    CTextBlock block(*this, box.width());
    const QSize size = block.GetPictureSize().boundedTo(QSize(MaxRenderSide, MaxRenderSide));
    if (size.isEmpty() || !context.TakeWork(qint64(size.width()) * size.height()) || !m_picture.Create(size))
        return;

    QImage& bitmap = m_picture.GetBitmap();
    SetTextResolution(bitmap);
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::TextAntialiasing, m_smoothing);
    painter.setPen(QColor::fromRgba(m_color.GetValue()));
    block.Draw(painter, m_alignment, size.width());
}

void CGreLayerText::Composite(CGreRenderContext& context) const
{
    if (IsVisible())
        CompositeImage(context, m_picture);
}
} // namespace gre
