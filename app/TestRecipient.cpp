#include "app/TestRecipient.h"

#include "base/AppSettings.h"
#include "base/ArchiveFile.h"
#include "base/PSBase.h"
#include "base/PSStreamMemory.h"
#include "ndb/NdbUser.h"

namespace
{
const QString SettingName = QStringLiteral("TestUser");
const QString TypeTag = QStringLiteral("KVTU");
constexpr int Major = 2007;
constexpr int Minor = 0;
} // namespace

namespace TestRecipient
{
bool Load(ndb::CNdbUser& user)
{
    QByteArray bytes;
    if (!ReadAppSettingBinary(HKEY_CURRENT_USER, SettingName, bytes))
        return false;
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    ndb::CNdbUser read{CPSReading{}};
    if (!ReadArchiveStream(
            stream,
            [](const ArchiveFileHeader& header) { return header.IsReadableAs(TypeTag, Major, Minor); },
            [&](CPSArchive& archive) { read.Serialize(archive); }))
        return false;
    user = read;
    return true;
}

bool Save(ndb::CNdbUser& user)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    const ArchiveFileHeader header{TypeTag, Major, Minor, QString(), 0, 0};
    return WriteArchiveStream(stream, header, [&](CPSArchive& archive) { user.Serialize(archive); }) &&
           WriteAppSettingBinary(HKEY_CURRENT_USER, SettingName, stream.GetBuffer());
}
} // namespace TestRecipient
