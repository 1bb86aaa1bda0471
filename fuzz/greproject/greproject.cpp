// Loads the input as a project file (an effect library file) through the real file loader.
// A project that loads is used as the program would (keys, image ids, copies) and written
// again: that must load once more and write the same bytes.

#include "gre/GreProject.h"
#include "base/ArchiveValues.h"
#include "base/PSStreamMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace
{
QByteArray Write(gre::CGreProject& project)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    CPSArchive archive(stream);
    if (!ArchiveSerializeRoot(archive, project) || !archive.Flush())
        std::abort();
    return stream.GetBuffer();
}

bool Read(const QByteArray& bytes, gre::CGreProject& project)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    return ArchiveSerializeRoot(archive, project);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The loader takes a path: an in-memory file keeps the disk out of it.
    static const int file = memfd_create("greproject", 0);
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(file);
    if (file < 0 || ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != ssize_t(size))
        std::abort();

    gre::CGreProject project;
    if (!project.LoadFromFile(path))
        return 0;
    gre::CGreProject copies;
    for (const auto& [id, pipeline] : project.GetPipelines())
    {
        pipeline->GetHashKey();
        pipeline->GetSizeLayer();
        project.CopyPipelineTo(copies, id);
    }

    const QByteArray written = Write(project);
    gre::CGreProject again;
    if (!Read(written, again) || Write(again) != written)
        std::abort();
    return 0;
}
