#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QIODevice;

namespace gre
{
// Pictures larger than this are refused when decoded or read from an archive: no newsletter
// image comes near it, and it keeps a damaged or hostile file from claiming gigabytes.
constexpr int MaxImageSide = 32768;
constexpr qint64 MaxImagePixels = qint64(64) * 1024 * 1024;

bool IsImageSizeAllowed(int width, int height);

// The index of the encoder whose MIME type is exactly the given one (case-sensitive), among the
// encoders the program has: Qt's writers and our own GIF writer. The writer's format name goes
// to format. -1 when there is none.
int FindImageEncoder(const QString& mime, QByteArray* format = nullptr);

// Encodes the picture with the encoder of the MIME type; bytes is replaced. False for a null
// picture, an unknown type or a failing encoder.
bool EncodeImage(const QImage& picture, const QString& mime, QByteArray& bytes);

// Decodes PNG, JPEG, GIF (first frame), BMP and the other formats Qt reads, by content, into a
// Format_ARGB32 picture. False, with the picture untouched, when nothing within the size limits
// could be decoded.
bool DecodeImage(QIODevice& device, QImage& picture);
} // namespace gre
