#pragma once

#include "base/FileHelpers.h"

#include <QString>

#include <functional>

class CPSArchive;
class CPSStream;

// The header of a document or project file after the archive's magic.
struct ArchiveFileHeader
{
    QString typeTag;
    int major{0};
    int minor{0};
    QString creator;
    int creatorMajor{0};
    int creatorMinor{0};

    // Whether the file's format is at most newestMajor.newestMinor.
    bool IsNoNewerThan(int newestMajor, int newestMinor) const
    {
        return major < newestMajor || (major == newestMajor && minor <= newestMinor);
    }
    // Whether the file is one of that type at a format no newer than newestMajor.newestMinor.
    bool IsReadableAs(const QString& tag, int newestMajor, int newestMinor) const
    {
        return typeTag == tag && IsNoNewerThan(newestMajor, newestMinor);
    }
};

// Reading and writing a file whose archive holds the header and then what read or write put
// there. Reading hands the archive, set to the header's version, to read only when accept agrees
// to the header; writing writes a UTF-8 archive at the header's version.
//
// Either way every failure, a throw from read or write included, ends as false. A save writes
// the archive straight into a new file beside the old one and renames it over the old one only
// when the whole archive is written, so a failed save leaves the previous file as it was.
using ArchiveHeaderTest = std::function<bool(const ArchiveFileHeader&)>;
using ArchiveStep = std::function<void(CPSArchive&)>;

bool ReadArchiveFile(const QString& path, const ArchiveHeaderTest& accept, const ArchiveStep& read);
bool ReadArchiveStream(CPSStream& stream, const ArchiveHeaderTest& accept, const ArchiveStep& read);
bool WriteArchiveFile(const QString& path, const ArchiveFileHeader& header, const ArchiveStep& write,
                      FileReaders readers = FileReaders::Usual);
// The same into a stream, for a copy of a document in memory.
bool WriteArchiveStream(CPSStream& stream, const ArchiveFileHeader& header, const ArchiveStep& write);
