#pragma once

#include "base/LocalTime.h"
#include "base/PSArchive.h"
#include "base/PSArchiveException.h"
#include "base/PSBase.h"

#include <QByteArray>
#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

// The value operations of an archive. Each returns the archive so that calls chain. Reading
// operations throw CPSArchiveException when the data ends early or is not sound; writers never
// throw and leave failures to CPSArchive::Flush.

constexpr qint32 ArchiveMagic = 0x5A515053; // "ZQPS" as a little-endian int32

CPSArchive& ArchiveWriteChar(CPSArchive& archive, char value);
CPSArchive& ArchiveReadChar(CPSArchive& archive, char& value);
CPSArchive& ArchiveWriteBool(CPSArchive& archive, bool value);
CPSArchive& ArchiveReadBool(CPSArchive& archive, bool& value);
CPSArchive& ArchiveWriteInt(CPSArchive& archive, qint32 value);
// Inline: a large document is mostly ints.
inline CPSArchive& ArchiveReadInt(CPSArchive& archive, qint32& value)
{
    if (!archive.ReadInt32(value))
        archive.Fail("the data ends inside a value");
    return archive;
}
// A float is its IEEE 754 single-precision bit pattern, stored as an int32.
CPSArchive& ArchiveWriteFloat(CPSArchive& archive, float value);
CPSArchive& ArchiveReadFloat(CPSArchive& archive, float& value);
CPSArchive& ArchiveWritePair(CPSArchive& archive, const QPoint& point);
CPSArchive& ArchiveReadPair(CPSArchive& archive, QPoint& point);
CPSArchive& ArchiveWritePair(CPSArchive& archive, const QSize& size);
CPSArchive& ArchiveReadPair(CPSArchive& archive, QSize& size);
// Left, top, right, bottom, with right and bottom exclusive as on disk: a QRect at (1, 2) of
// size 3 x 4 is stored as 1, 2, 4, 6.
CPSArchive& ArchiveWriteRect(CPSArchive& archive, const QRect& rect);
CPSArchive& ArchiveReadRect(CPSArchive& archive, QRect& rect);
// Narrow strings (class names): the bytes as they are.
CPSArchive& ArchiveWriteStdString(CPSArchive& archive, const std::string& text);
CPSArchive& ArchiveReadStdString(CPSArchive& archive, std::string& text);
// Texts in UTF-8 or Windows-1252 by the archive's flag; reading cuts at the first NUL.
CPSArchive& ArchiveWriteString(CPSArchive& archive, const QString& text);
CPSArchive& ArchiveReadString(CPSArchive& archive, QString& text);
// Six int32 of the local time: year, month, day, hour, minute, second. The null time is written
// as 0, 0, 0, -1, -1, -1. Reading checks the ranges of the fields and fails for any outside them.
CPSArchive& ArchiveWriteTime(CPSArchive& archive, const CLocalTime& time);
CPSArchive& ArchiveReadTime(CPSArchive& archive, CLocalTime& time);
// The same through CLocalTime::FromDateTime and CLocalTime::ToDateTime: a null or invalid time
// reads back as a null QDateTime, a local time in a daylight-saving gap moved forward by the gap.
CPSArchive& ArchiveWriteTime(CPSArchive& archive, const QDateTime& time);
CPSArchive& ArchiveReadTime(CPSArchive& archive, QDateTime& time);

// A block of raw bytes (an embedded file): int32 length, then the bytes.
CPSArchive& ArchiveWriteBytes(CPSArchive& archive, const QByteArray& bytes);
// Replaces bytes. A length that is negative or larger than the data left fails the load before
// anything is allocated for it.
CPSArchive& ArchiveReadBytes(CPSArchive& archive, QByteArray& bytes);
// A map of texts: int32 count, then key and value text per entry in ascending key order.
CPSArchive& ArchiveWriteTextMap(CPSArchive& archive, const std::map<QString, QString>& texts);
// Inserts into texts; a key already present keeps its first value.
CPSArchive& ArchiveReadTextMap(CPSArchive& archive, std::map<QString, QString>& texts);

// The file header: magic, UTF-8 flag byte, type tag, format major and minor, creator name,
// creator major and minor. Both set the archive's UTF-8 flag; neither judges tag or versions.
bool ArchiveWriteHeader(CPSArchive& archive, bool utf8, const QString& typeTag, int major, int minor,
                        const QString& creator, int creatorMajor, int creatorMinor);
bool ArchiveReadHeader(CPSArchive& archive, bool& utf8, QString& typeTag, int& major, int& minor,
                       QString& creator, int& creatorMajor, int& creatorMinor);

// Runs the root object's Serialize in the archive's direction and turns every failure into
// false. A loader that gets false deletes the root it read into and uses nothing of it:
//
//     CPSStreamFile stream;
//     if (!stream.Open(path, true, false))
//         return false;
//     CPSArchive archive(stream);
//     if (!ArchiveReadHeader(archive, utf8, tag, major, minor, creator, creatorMajor, creatorMinor)
//         || tag != "KVN" || /* newer than we know */ ...)
//         return false;
//     archive.SetVersion(CPSArchive::MakeVersion(major, minor));
//     auto letter = std::make_unique<CNdbNewsletter>();
//     if (!ArchiveSerializeRoot(archive, *letter))
//         return false;                                   // letter and all it read are deleted
//
// A save is the mirror image, ending with CPSArchive::Flush, whose result decides success.
bool ArchiveSerializeRoot(CPSArchive& archive, CPSBase& root);

// Object pointers.
//
// Writing stores an object once: later pointers to it are its index, and a class's key and name
// appear only with its first object.
//
// Reading keeps the graph deletable whatever the file says. An object the archive creates is
// handed to exactly one owning slot:
// - ArchiveReadObject, ArchiveReadObjectVector and ArchiveReadObjectMap fill owning slots: the
//   pointer read must be null or a new object. A back reference there (an object owned twice,
//   or owning its own ancestor) fails the load.
// - ArchiveReadObjectReference fills a slot that does not own: the pointer read must be null or
//   an object already read. Write the owning pointer before any reference to it.
// Every slot checks the class of what it gets: an object of another class fails the load before
// its Serialize runs. When a load fails, an object whose Serialize was running is deleted; what
// had been handed to owning slots belongs to those owners, which the loader discards.
CPSArchive& ArchiveWriteObject(CPSArchive& archive, CPSBase* object);

template <class T> CPSArchive& ArchiveWriteObjectVector(CPSArchive& archive, const std::vector<T*>& objects);
template <class T>
CPSArchive& ArchiveWriteObjectVector(CPSArchive& archive, const std::vector<std::unique_ptr<T>>& objects);
// Entries in ascending key order (std::map orders QString by UTF-16 code unit, case-sensitive).
template <class T>
CPSArchive& ArchiveWriteObjectMap(CPSArchive& archive, const std::map<QString, T*>& objects);
template <class T>
CPSArchive& ArchiveWriteObjectMap(CPSArchive& archive, const std::map<QString, std::unique_ptr<T>>& objects);

// The previous value of the slot is overwritten, not deleted (unique_ptr slots delete it).
template <class T> CPSArchive& ArchiveReadObject(CPSArchive& archive, T*& object);
template <class T> CPSArchive& ArchiveReadObject(CPSArchive& archive, std::unique_ptr<T>& object);
template <class T> CPSArchive& ArchiveReadObjectReference(CPSArchive& archive, T*& object);
// Count, then the objects. The vector ends with exactly that many entries (nulls included);
// entries it held before are overwritten, so owners empty it first.
template <class T> CPSArchive& ArchiveReadObjectVector(CPSArchive& archive, std::vector<T*>& objects);
template <class T>
CPSArchive& ArchiveReadObjectVector(CPSArchive& archive, std::vector<std::unique_ptr<T>>& objects);
// Count, then key text and object per entry, inserted into the map. A key already present keeps
// its entry; the object read for it is deleted.
template <class T> CPSArchive& ArchiveReadObjectMap(CPSArchive& archive, std::map<QString, T*>& objects);
template <class T>
CPSArchive& ArchiveReadObjectMap(CPSArchive& archive, std::map<QString, std::unique_ptr<T>>& objects);

// ---------------------------------------------------------------------------------------------

namespace ArchiveDetail
{
using ClassTest = bool (*)(const CPSBase*);

// Objects are mostly of the very class asked for, which the type alone tells.
template <class T> bool IsOfClass(const CPSBase* object)
{
    return typeid(*object) == typeid(T) || dynamic_cast<const T*>(object) != nullptr;
}

// An element count, refused when negative or when the data left could not hold that many
// elements of at least minimumBytes each.
int ReadCount(CPSArchive& archive, int minimumBytes);
// The same for a count already read.
int CheckCount(CPSArchive& archive, qint32 count, int minimumBytes);
std::unique_ptr<CPSBase> ReadOwnedObject(CPSArchive& archive, ClassTest test);
CPSBase* ReadObjectReference(CPSArchive& archive, ClassTest test);

template <class T> std::unique_ptr<T> ReadOwned(CPSArchive& archive)
{
    // The class test has passed, so the object is a T.
    std::unique_ptr<CPSBase> object = ReadOwnedObject(archive, &IsOfClass<T>);
    return std::unique_ptr<T>(static_cast<T*>(object.release()));
}

// Reading grows the result as objects arrive instead of sizing it by the count up front, so a
// crafted count costs no more memory than the objects actually present.
constexpr int ReserveLimit = 1024;

template <class T> std::vector<std::unique_ptr<T>> ReadOwnedVector(CPSArchive& archive)
{
    const int count = ReadCount(archive, 4);
    std::vector<std::unique_ptr<T>> read;
    read.reserve(static_cast<size_t>(std::min(count, ReserveLimit)));
    for (int i = 0; i < count; ++i)
        read.push_back(ReadOwned<T>(archive));
    return read;
}

template <class T, class Store> void ReadOwnedMap(CPSArchive& archive, Store store)
{
    const int count = ReadCount(archive, 8);
    for (int i = 0; i < count; ++i)
    {
        QString key;
        ArchiveReadString(archive, key);
        const int firstNewIndex = archive.GetObjectCount() + 1;
        std::unique_ptr<T> object = ReadOwned<T>(archive);
        if (!store(std::move(key), object) && object)
        {
            object.reset();
            archive.ForgetObjectsFrom(firstNewIndex);
        }
    }
}
} // namespace ArchiveDetail

template <class T> CPSArchive& ArchiveWriteObjectVector(CPSArchive& archive, const std::vector<T*>& objects)
{
    ArchiveWriteInt(archive, static_cast<qint32>(objects.size()));
    for (T* object : objects)
        ArchiveWriteObject(archive, object);
    return archive;
}

template <class T>
CPSArchive& ArchiveWriteObjectVector(CPSArchive& archive, const std::vector<std::unique_ptr<T>>& objects)
{
    // Owned objects are new to the archive: their entries go into the table without regrowing it.
    archive.ReserveObjects(objects.size());
    ArchiveWriteInt(archive, static_cast<qint32>(objects.size()));
    for (const auto& object : objects)
        ArchiveWriteObject(archive, object.get());
    return archive;
}

template <class T>
CPSArchive& ArchiveWriteObjectMap(CPSArchive& archive, const std::map<QString, T*>& objects)
{
    ArchiveWriteInt(archive, static_cast<qint32>(objects.size()));
    for (const auto& [key, object] : objects)
    {
        ArchiveWriteString(archive, key);
        ArchiveWriteObject(archive, object);
    }
    return archive;
}

template <class T>
CPSArchive& ArchiveWriteObjectMap(CPSArchive& archive, const std::map<QString, std::unique_ptr<T>>& objects)
{
    archive.ReserveObjects(objects.size());
    ArchiveWriteInt(archive, static_cast<qint32>(objects.size()));
    for (const auto& [key, object] : objects)
    {
        ArchiveWriteString(archive, key);
        ArchiveWriteObject(archive, object.get());
    }
    return archive;
}

template <class T> CPSArchive& ArchiveReadObject(CPSArchive& archive, T*& object)
{
    object = ArchiveDetail::ReadOwned<T>(archive).release();
    return archive;
}

template <class T> CPSArchive& ArchiveReadObject(CPSArchive& archive, std::unique_ptr<T>& object)
{
    object = ArchiveDetail::ReadOwned<T>(archive);
    return archive;
}

template <class T> CPSArchive& ArchiveReadObjectReference(CPSArchive& archive, T*& object)
{
    object = dynamic_cast<T*>(ArchiveDetail::ReadObjectReference(archive, &ArchiveDetail::IsOfClass<T>));
    return archive;
}

template <class T> CPSArchive& ArchiveReadObjectVector(CPSArchive& archive, std::vector<T*>& objects)
{
    std::vector<std::unique_ptr<T>> read = ArchiveDetail::ReadOwnedVector<T>(archive);
    objects.resize(read.size());
    for (size_t i = 0; i < read.size(); ++i)
        objects[i] = read[i].release();
    return archive;
}

template <class T>
CPSArchive& ArchiveReadObjectVector(CPSArchive& archive, std::vector<std::unique_ptr<T>>& objects)
{
    objects = ArchiveDetail::ReadOwnedVector<T>(archive);
    return archive;
}

// A map's keys arrive in ascending order, so each goes in at the end without a search (the hint
// is only a hint: a key out of order still lands in its place).
template <class T> CPSArchive& ArchiveReadObjectMap(CPSArchive& archive, std::map<QString, T*>& objects)
{
    ArchiveDetail::ReadOwnedMap<T>(archive,
                                   [&objects](QString&& key, std::unique_ptr<T>& object)
                                   {
                                       const size_t before = objects.size();
                                       objects.try_emplace(objects.end(), std::move(key), object.get());
                                       if (objects.size() == before)
                                           return false;
                                       object.release();
                                       return true;
                                   });
    return archive;
}

template <class T>
CPSArchive& ArchiveReadObjectMap(CPSArchive& archive, std::map<QString, std::unique_ptr<T>>& objects)
{
    ArchiveDetail::ReadOwnedMap<T>(archive,
                                   [&objects](QString&& key, std::unique_ptr<T>& object)
                                   {
                                       const size_t before = objects.size();
                                       objects.try_emplace(objects.end(), std::move(key), std::move(object));
                                       return objects.size() != before;
                                   });
    return archive;
}
