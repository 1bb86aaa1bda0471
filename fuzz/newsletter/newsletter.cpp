// Loads a newsletter file from the input, as the program opens one. A newsletter that loads is
// written again: those bytes must load as well and write themselves unchanged, and nothing may
// leak either way. The seeds in corpus/ come from tests/ndb/NdbNewsletterTest.cpp.

#include "base/ArchiveValues.h"
#include "base/PSStreamMemory.h"
#include "ndb/NdbNewsletter.h"

#include <cstdint>
#include <cstdlib>

namespace
{
bool Load(const QByteArray& bytes, ndb::CNdbNewsletter& letter)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    return letter.LoadFromStream(stream);
}

QByteArray Write(ndb::CNdbNewsletter& letter)
{
    using ndb::CNdbNewsletter;
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    CPSArchive archive(stream);
    ArchiveWriteHeader(archive, true, CNdbNewsletter::FileTypeTag, CNdbNewsletter::FileMajorVersion,
                       CNdbNewsletter::FileMinorVersion, QString(), 0, 0);
    archive.SetVersion(
        CPSArchive::MakeVersion(CNdbNewsletter::FileMajorVersion, CNdbNewsletter::FileMinorVersion));
    if (!ArchiveSerializeRoot(archive, letter) || !archive.Flush())
        std::abort();
    return stream.GetBuffer();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ndb::CNdbNewsletter letter;
    if (!Load(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), letter))
        return 0;
    const QByteArray written = Write(letter);
    ndb::CNdbNewsletter again;
    if (!Load(written, again) || Write(again) != written)
        std::abort();
    return 0;
}
