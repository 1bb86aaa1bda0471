#pragma once

#include <QByteArray>
#include <QString>

// Writes the bytes to a temporary file beside the path and renames it over the old file, so a
// save that fails at any point leaves the previous file as it was.
bool WriteFileReplacing(const QString& path, const QByteArray& bytes);
