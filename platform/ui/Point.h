#pragma once

#include <QPoint>

class CPoint
{
public:
    int x = 0;
    int y = 0;

    CPoint() = default;
    CPoint(int px, int py) : x(px), y(py) {}
    explicit CPoint(const QPoint& p) : x(p.x()), y(p.y()) {}

    QPoint ToQPoint() const { return {x, y}; }
    bool operator==(const CPoint&) const = default;
};
