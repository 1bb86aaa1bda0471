#pragma once

#include <QSize>

class CSize
{
public:
    int cx = 0;
    int cy = 0;

    CSize() = default;
    CSize(int w, int h) : cx(w), cy(h) {}

    bool operator==(const CSize&) const = default;
};
