#pragma once

#include "base/ArchiveValues.h"

#include <memory>
#include <vector>

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
