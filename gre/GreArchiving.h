#pragma once

#include "base/ArchiveValues.h"

#include <QMargins>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

// One call per field for both directions of an archive, so that the layouts the engine reads
// and writes cannot drift apart.
namespace gre
{
inline void Exchange(CPSArchive& archive, qint32& value)
{
    archive.IsReading() ? ArchiveReadInt(archive, value) : ArchiveWriteInt(archive, value);
}

inline void Exchange(CPSArchive& archive, bool& value)
{
    archive.IsReading() ? ArchiveReadBool(archive, value) : ArchiveWriteBool(archive, value);
}

inline void Exchange(CPSArchive& archive, float& value)
{
    archive.IsReading() ? ArchiveReadFloat(archive, value) : ArchiveWriteFloat(archive, value);
}

inline void Exchange(CPSArchive& archive, QString& value)
{
    archive.IsReading() ? ArchiveReadString(archive, value) : ArchiveWriteString(archive, value);
}

inline void Exchange(CPSArchive& archive, QSize& value)
{
    archive.IsReading() ? ArchiveReadPair(archive, value) : ArchiveWritePair(archive, value);
}

// Four int32: left, top, right, bottom.
inline void Exchange(CPSArchive& archive, QMargins& margins)
{
    qint32 left = margins.left();
    qint32 top = margins.top();
    qint32 right = margins.right();
    qint32 bottom = margins.bottom();
    Exchange(archive, left);
    Exchange(archive, top);
    Exchange(archive, right);
    Exchange(archive, bottom);
    margins = QMargins(left, top, right, bottom);
}

// The kind code of a layer or effect, which code elsewhere trusts to name the class: a stored
// kind that does not match the class being read fails the load.
inline void ExchangeKind(CPSArchive& archive, qint32 kind)
{
    qint32 stored = kind;
    Exchange(archive, stored);
    if (stored != kind)
        archive.Fail("a layer or effect whose kind does not match its class");
}

// A list of owned objects. Reading replaces the list; an empty entry, which no writer produces,
// fails the load so that nobody has to test for it later.
template <class T> void ExchangeOwnedList(CPSArchive& archive, std::vector<std::unique_ptr<T>>& list)
{
    if (!archive.IsReading())
    {
        ArchiveWriteObjectVector(archive, list);
        return;
    }
    list.clear();
    ArchiveReadObjectVector(archive, list);
    for (const auto& entry : list)
        if (!entry)
            archive.Fail("a list of layers or effects holds an empty entry");
}
} // namespace gre
