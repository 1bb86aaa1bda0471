// Reads arbitrary bytes as what an FTP server sends back: machine and LIST listings, folder
// replies, reply codes and features. No entry may carry a name that cannot be sent back.
#include "platform/net/FtpReplies.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
void Check(const QList<FtpDirectoryEntry>& entries)
{
    for (const FtpDirectoryEntry& entry : entries)
    {
        if (entry.name.isEmpty() || entry.name.contains('\r') || entry.name.contains('\n') ||
            entry.name.contains(QChar(0)) || entry.name.contains('/'))
        {
            std::fprintf(stderr, "unusable name in a listing\n");
            std::abort();
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Check(FtpReplies::ParseMachineListing(bytes));
    Check(FtpReplies::ParseListListing(bytes));
    QString folder;
    FtpReplies::ParseFolderReply(bytes, folder);
    FtpReplies::FinalReplyCodes(bytes);
    FtpReplies::AnnouncesFeature(bytes, "MLST");
    return 0;
}
