#include "ndb/NdbArchiveValues.h"

#include <algorithm>

CPSArchive& ArchiveWriteBytes(CPSArchive& archive, const QByteArray& bytes)
{
    ArchiveWriteInt(archive, static_cast<qint32>(bytes.size()));
    archive.WriteBytes(bytes.constData(), bytes.size());
    return archive;
}

CPSArchive& ArchiveReadBytes(CPSArchive& archive, QByteArray& bytes)
{
    bytes.clear();
    const int count = ArchiveDetail::ReadCount(archive, 1);
    // A stream that cannot tell its size gets the bytes in pieces, so that a false length fails
    // at the end of the data instead of in one huge allocation.
    const int piece = archive.BytesLeft() >= 0 ? count : 1 << 20;
    for (int done = 0; done < count;)
    {
        const int size = std::min(piece, count - done);
        bytes.resize(done + size);
        if (!archive.ReadBytes(bytes.data() + done, size))
            archive.Fail("the data ends inside an embedded file");
        done += size;
    }
    return archive;
}

CPSArchive& ArchiveWriteTextMap(CPSArchive& archive, const std::map<QString, QString>& texts)
{
    ArchiveWriteInt(archive, static_cast<qint32>(texts.size()));
    for (const auto& [key, value] : texts)
    {
        ArchiveWriteString(archive, key);
        ArchiveWriteString(archive, value);
    }
    return archive;
}

CPSArchive& ArchiveReadTextMap(CPSArchive& archive, std::map<QString, QString>& texts)
{
    // Each entry takes at least the two text lengths.
    const int count = ArchiveDetail::ReadCount(archive, 8);
    for (int i = 0; i < count; ++i)
    {
        QString key;
        QString value;
        ArchiveReadString(archive, key);
        ArchiveReadString(archive, value);
        texts.try_emplace(std::move(key), std::move(value));
    }
    return archive;
}
