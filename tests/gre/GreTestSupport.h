#pragma once

#include "base/ArchiveValues.h"
#include "base/PSArchive.h"
#include "base/PSStreamMemory.h"

#include <QByteArray>

#include <gtest/gtest.h>

// Archive bytes for the image engine's tests.
namespace GreTest
{
inline QByteArray Int(qint32 value)
{
    const auto bits = static_cast<quint32>(value);
    const char bytes[4] = {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
    return QByteArray(bytes, 4);
}

inline QByteArray Text(const QByteArray& utf8)
{
    return Int(qint32(utf8.size())) + utf8;
}

// The bytes of one object written inline (its Serialize alone).
inline QByteArray Save(CPSBase& object)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        EXPECT_TRUE(ArchiveSerializeRoot(archive, object));
        EXPECT_TRUE(archive.Flush());
    }
    return stream.GetBuffer();
}

// Reads the bytes into the object; true when they were read without failure and to the end.
inline bool Load(const QByteArray& bytes, CPSBase& object)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    return ArchiveSerializeRoot(archive, object) && archive.BytesLeft() == 0;
}
} // namespace GreTest
