#include "ndb/NdbArchiveFile.h"

#include "base/ArchiveValues.h"
#include "base/PSStreamFile.h"
#include "base/PSStreamMemory.h"
#include "gre/GreFiles.h"

namespace ndb
{
bool ReadArchiveStream(CPSStream& stream, const NdbHeaderTest& accept, const NdbArchiveStep& read)
{
    try
    {
        CPSArchive archive(stream);
        bool utf8 = true;
        NdbFileHeader header;
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

bool ReadArchiveFile(const QString& path, const NdbHeaderTest& accept, const NdbArchiveStep& read)
{
    CPSStreamFile stream;
    return stream.Open(path, true, false) && ReadArchiveStream(stream, accept, read);
}

bool WriteArchiveFile(const QString& path, const NdbFileHeader& header, const NdbArchiveStep& write)
{
    try
    {
        CPSStreamMemory stream;
        stream.Open(CPSStreamMemory::ModeWrite);
        CPSArchive archive(stream);
        if (!ArchiveWriteHeader(archive, true, header.typeTag, header.major, header.minor, header.creator,
                                header.creatorMajor, header.creatorMinor))
            return false;
        archive.SetVersion(CPSArchive::MakeVersion(header.major, header.minor));
        write(archive);
        if (!archive.Flush())
            return false;
        return gre::WriteFileReplacing(path, stream.GetBuffer());
    }
    catch (const std::exception&)
    {
        return false;
    }
}
} // namespace ndb
