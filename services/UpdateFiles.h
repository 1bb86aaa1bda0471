#pragma once

#include <QString>

// The file steps of installing an update package.
namespace UpdateFiles
{
// The user's own folder for downloads (made private to the user); empty when it cannot be made.
QString DownloadFolder();
// Unpacks the zip file into a staging folder inside the target folder, and only when every
// entry came out whole moves the files into place, keeping the files they replace until all are
// in; false, at any step, leaves the target's files as they were.
bool UnpackWhole(const QString& zipPath, const QString& targetFolder);
} // namespace UpdateFiles
