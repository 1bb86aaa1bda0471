#pragma once

#include "platform/net/FtpDirectoryEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Readers of what an FTP server sends back: folder listings and the reply that names a folder.
// Names are taken as UTF-8. Every reader is bounded: lines beyond MaxListingEntries are
// ignored, and a name holding a line break, a NUL or a "/" is not taken.
namespace FtpReplies
{
constexpr qsizetype MaxListingEntries = 100000;

// A machine listing (MLSD): "fact=value;...; name" per line. Entries of the types "cdir" and
// "pdir" (the folder itself and its parent) are left out.
QList<FtpDirectoryEntry> ParseMachineListing(const QByteArray& listing);

// A LIST listing in the Unix form ("drwxr-xr-x 2 user group 4096 Jan 1 12:00 name") or the
// DOS form ("01-01-08  12:00PM  <DIR>  name"); lines of neither form are skipped.
QList<FtpDirectoryEntry> ParseListListing(const QByteArray& listing);

// The last "257" reply among the reply lines: the quoted folder, with doubled quotation marks
// inside it read as one. False when there is none or it holds no quoted name.
bool ParseFolderReply(const QByteArray& replies, QString& folder);

// The codes of the complete replies among the reply lines, in order (the last line of a
// multi-line reply counts once).
QList<int> FinalReplyCodes(const QByteArray& replies);

// Whether a FEAT reply among the reply lines lists the feature (" MLST type*;size*;").
bool AnnouncesFeature(const QByteArray& replies, const QByteArray& feature);
} // namespace FtpReplies
