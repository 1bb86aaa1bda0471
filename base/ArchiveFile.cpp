#include "base/ArchiveFile.h"

#include "base/ArchiveValues.h"
#include "base/PSStreamDescriptor.h"
#include "base/PSStreamFile.h"
#include "base/ReplacingFile.h"

bool ReadArchiveStream(CPSStream& stream, const ArchiveHeaderTest& accept, const ArchiveStep& read)
{
    try
    {
        CPSArchive archive(stream);
        bool utf8 = true;
        ArchiveFileHeader header;
        if (!ArchiveReadHeader(archive, utf8, header.typeTag, header.major, header.minor, header.creator,
                               header.creatorMajor, header.creatorMinor) ||
            !accept(header))
            return false;
        archive.SetVersion(CPSArchive::MakeVersion(header.major, header.minor));
        read(archive);
        return true;
    }
    catch (const std::exception&)
    {
        // A damaged archive, or an allocation that the data asked for and the system refused.
        return false;
    }
}

bool ReadArchiveFile(const QString& path, const ArchiveHeaderTest& accept, const ArchiveStep& read)
{
    CPSStreamFile stream;
    return stream.Open(path, true, false) && ReadArchiveStream(stream, accept, read);
}

bool WriteArchiveStream(CPSStream& stream, const ArchiveFileHeader& header, const ArchiveStep& write)
{
    try
    {
        CPSArchive archive(stream);
        if (!ArchiveWriteHeader(archive, true, header.typeTag, header.major, header.minor, header.creator,
                                header.creatorMajor, header.creatorMinor))
            return false;
        archive.SetVersion(CPSArchive::MakeVersion(header.major, header.minor));
        write(archive);
        return archive.Flush();
    }
    catch (const std::exception&)
    {
        return false;
    }
}

bool WriteArchiveFile(const QString& path, const ArchiveFileHeader& header, const ArchiveStep& write,
                      FileReaders readers)
{
    CReplacingFile file(path, readers);
    if (file.Descriptor() < 0)
        return false;
    CPSStreamDescriptor stream(file.Descriptor());
    return WriteArchiveStream(stream, header, write) && stream.Flush() && file.Commit();
}
