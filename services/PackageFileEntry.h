#pragma once

#include <QString>

// One file of a framework package: where it lies beside the manifest, where it goes below the
// site's "admin" folder, and whether its placeholders are filled before it is uploaded.
struct PackageFileEntry
{
    static constexpr int FillPlaceholders = 1;

    QString source;
    QString destination;
    int flags{0};
};
