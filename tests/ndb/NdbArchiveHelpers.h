#pragma once

#include "base/ArchiveValues.h"
#include "base/PSStreamMemory.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Memory archives for the record tests: write something, read it back, and spell out expected
// bytes as little-endian int32 and texts.
namespace NdbTest
{
inline QByteArray Write(const std::function<void(CPSArchive&)>& write)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        write(archive);
        archive.Flush();
    }
    return stream.GetBuffer();
}

inline QByteArray WriteRoot(CPSBase& root)
{
    return Write([&root](CPSArchive& archive) { root.Serialize(archive); });
}

// True when the root read the bytes without a failure.
inline bool ReadRoot(const QByteArray& bytes, CPSBase& root)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    return ArchiveSerializeRoot(archive, root);
}

// The bytes of one object pointer written as the root of a graph (class table and all).
inline QByteArray WriteObject(CPSBase* object)
{
    return Write([object](CPSArchive& archive) { ArchiveWriteObject(archive, object); });
}

template <class T> std::unique_ptr<T> ReadObject(const QByteArray& bytes)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    std::unique_ptr<T> object;
    try
    {
        ArchiveReadObject(archive, object);
    }
    catch (const CPSArchiveException&)
    {
        return nullptr;
    }
    return object;
}

inline QByteArray Int(qint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(quint32(value) >> (8 * i));
    return bytes;
}

// A UTF-8 text as the archive writes it: byte count, then the bytes.
inline QByteArray Text(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return Int(qint32(utf8.size())) + utf8;
}
} // namespace NdbTest
