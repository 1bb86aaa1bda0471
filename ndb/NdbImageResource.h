#pragma once

#include "ndb/NdbResource.h"

#include <QString>

#include <memory>

namespace ndb
{
// Reads one file into a new embedded-file record: payload, identifier, "img/" path for a GIF,
// JPEG or PNG name (with the picture's width and height when it decodes) and "files/" path for
// any other, file name, MIME type by extension, byte count and the path as given. None when the
// file is not a regular file, is empty or larger than a download may be, or cannot be read whole.
std::unique_ptr<ndb::CNdbResource> LoadImageResource(const QString& path);

// Loads the image a pasted or imported page refers to, from disk ("file:") or by one HTTP GET
// ("http://", "https://"), into a new embedded-file record: payload, identifier, "img/" path,
// file name, MIME type, byte count and the reference as given. A reference without a scheme is
// joined to the base address first. None when the file name has no .gif, .jpg, .jpeg or .png
// ending, when the file cannot be read or downloaded (status other than 200, the HTTP client's
// time-out or size limit), or when the bytes are not a GIF, JPEG or PNG picture. Blocks the
// calling thread, with the wait cursor up when the program has a GUI.
std::unique_ptr<ndb::CNdbResource> FetchImageResource(const QString& reference, const QString& baseAddress);
} // namespace ndb
