#pragma once

#include "ndb/NdbPalette.h"

#include <QColor>
#include <QImage>
#include <QPoint>

namespace ColorTest
{
inline const QString BrandKey = QStringLiteral("{0B7A1E52-0000-4000-8000-00000000B001}");
inline const QString SkyKey = QStringLiteral("{0B7A1E52-0000-4000-8000-00000000B002}");
inline const QString PaperKey = QStringLiteral("{0B7A1E52-0000-4000-8000-00000000B003}");

// Brand (a colour of no grid cell), Sky and Paper (white).
inline void FillPalette(ndb::CNdbPalette& palette)
{
    palette.AddColor(QStringLiteral("Brand"), BrandKey, ndb::CNdbRgba(12, 34, 56));
    palette.AddColor(QStringLiteral("Sky"), SkyKey, ndb::CNdbRgba(102, 153, 204));
    palette.AddColor(QStringLiteral("Paper"), PaperKey, ndb::CNdbRgba(255, 255, 255));
}

// The centre of a cell of the popup grid's 216 web colours.
inline QPoint CellCentre(int index)
{
    return {52 + (index % 18) * 11 + 4, 27 + (index / 18) * 11 + 4};
}

inline QRgb Rgb(int r, int g, int b)
{
    return qRgb(r, g, b);
}
} // namespace ColorTest
