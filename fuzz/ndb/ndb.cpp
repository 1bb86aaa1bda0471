// Reads one record object of any class of the record model (style, palette with its entries,
// colour, bare record) from the input. A record that loads is written again: it must load once
// more and write the same bytes.

#include "base/ArchiveValues.h"
#include "base/PSStreamMemory.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace
{
std::unique_ptr<CPSBase> Load(const QByteArray& bytes)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    std::unique_ptr<CPSBase> object;
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

QByteArray Save(CPSBase& object)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        ArchiveWriteObject(archive, &object);
        archive.Flush();
    }
    return stream.GetBuffer();
}

// Links the record model's registry in: a record object refers to it, and nothing else here does.
const ndb::CNdbStyle LinkRegistry;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::unique_ptr<CPSBase> object =
        Load(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!object)
        return 0;
    const QByteArray written = Save(*object);
    const std::unique_ptr<CPSBase> reread = Load(written);
    if (!reread || Save(*reread) != written)
        std::abort();
    return 0;
}
