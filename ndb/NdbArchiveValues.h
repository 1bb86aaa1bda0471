#pragma once

#include "base/ArchiveValues.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <vector>

// Archive values that only the record files use: a block of raw bytes (an embedded file) and a
// map of texts (the extras of a template file).

// int32 length, then the bytes.
CPSArchive& ArchiveWriteBytes(CPSArchive& archive, const QByteArray& bytes);
// Replaces bytes. A length that is negative or larger than the data left fails the load before
// anything is allocated for it.
CPSArchive& ArchiveReadBytes(CPSArchive& archive, QByteArray& bytes);

// int32 count, then key and value text per entry in ascending key order.
CPSArchive& ArchiveWriteTextMap(CPSArchive& archive, const std::map<QString, QString>& texts);
// Inserts into texts; a key already present keeps its first value.
CPSArchive& ArchiveReadTextMap(CPSArchive& archive, std::map<QString, QString>& texts);

// Replaces the list by the objects of an object vector, leaving out null pointers: in an owned
// list of records a null entry means nothing, and every user walks the list without testing.
template <class T>
CPSArchive& ArchiveReadObjectList(CPSArchive& archive, std::vector<std::unique_ptr<T>>& list)
{
    list.clear();
    ArchiveReadObjectVector(archive, list);
    std::erase(list, nullptr);
    return archive;
}
