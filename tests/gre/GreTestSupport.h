#pragma once

#include "base/ArchiveValues.h"
#include "base/PSArchive.h"
#include "base/PSStreamMemory.h"

#include <QByteArray>

#include <memory>

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
// The bytes of an object written as an archive object, with its class reference.
inline QByteArray SaveObject(CPSBase* object)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        ArchiveWriteObject(archive, object);
        EXPECT_TRUE(archive.Flush());
    }
    return stream.GetBuffer();
}

// The object read from bytes written by SaveObject; null when the read failed or left bytes.
template <class T> std::unique_ptr<T> LoadObject(const QByteArray& bytes)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    try
    {
        std::unique_ptr<T> object;
        ArchiveReadObject(archive, object);
        return archive.BytesLeft() == 0 ? std::move(object) : nullptr;
    }
    catch (const CPSArchiveException&)
    {
        return nullptr;
    }
}

// The prefix of a new archive object: its index, its class index and, on the class's first
// use, key 1 and the class name.
inline QByteArray NewObject(int index, int classIndex, const QByteArray& firstName = {})
{
    QByteArray bytes = Int(index) + Int(classIndex);
    if (!firstName.isEmpty())
        bytes += Int(1) + Text(firstName);
    return bytes;
}
} // namespace GreTest
