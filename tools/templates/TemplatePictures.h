#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// The pictures of the template library, drawn rather than copied from anywhere: the art behind
// each template's banner and its illustration, and the pictures of the gallery page.
namespace TemplatePictures
{
// Art of a kind ("harbour", "meadow", "market", "club") in the template's two colours.
QImage Banner(const QString& kind, const QColor& dark, const QColor& light, const QSize& size);
QImage Illustration(const QString& kind, const QColor& dark, const QColor& light, const QSize& size);

// The gallery page's pictures: the bar behind its top, the frame of the selected cell (enabled
// and disabled), the badge of new templates and the thumbnail of a template without its own.
QImage GalleryBar();
QImage SelectionFrame(const QColor& colour);
QImage NewBadge(const QString& text);
QImage DefaultThumbnail();
} // namespace TemplatePictures
