#include "platform/net/FtpReplies.h"

#include <gtest/gtest.h>

namespace
{
QStringList Names(const QList<FtpDirectoryEntry>& entries, bool directories)
{
    QStringList names;
    for (const FtpDirectoryEntry& entry : entries)
    {
        if (entry.directory == directories)
            names.append(entry.name);
    }
    return names;
}
} // namespace

TEST(FtpReplies, MachineListingKeepsNamesWithBlanksAndLeavesOutTheFolderItself)
{
    const QByteArray listing = "type=cdir;perm=el; /www\r\n"
                               "type=pdir;perm=el; /\r\n"
                               "modify=20080101120000;perm=el;type=dir; public html\r\n"
                               "Type=DIR;Size=0; logs\r\n"
                               "type=file;size=12; index.htm\r\n"
                               "type=OS.unix=slink:/x;size=3; link\r\n"
                               "no facts at all\r\n"
                               "type=dir; bad/name\r\n"
                               "type=dir; \r\n"
                               "type=file; Gr\xC3\xBC\xC3\x9F" "e.txt";
    const QList<FtpDirectoryEntry> entries = FtpReplies::ParseMachineListing(listing);
    EXPECT_EQ(Names(entries, true), (QStringList{"public html", "logs"}));
    EXPECT_EQ(Names(entries, false),
              (QStringList{"index.htm", "link", QString::fromUtf16(u"Gr\u00FC\u00DFe.txt")}));
}

TEST(FtpReplies, ListListingReadsUnixAndDosLines)
{
    const QByteArray listing = "total 12\r\n"
                               "drwxr-xr-x   2 user group     4096 Jan  1 12:00 public_html\r\n"
                               "drwxr-xr-x   2 user group     4096 Jan  1  2008 my folder\r\n"
                               "drwxr-xr-x   2 user group     4096 Jan  1 12:00 .\r\n"
                               "drwxr-xr-x   2 user group     4096 Jan  1 12:00 ..\r\n"
                               "-rw-r--r--   1 user group      120 Feb 29 23:59 index.htm\r\n"
                               "lrwxrwxrwx   1 user group        9 Mar  3 10:10 www -> public_html\r\n"
                               "01-31-08  10:22AM       <DIR>          cgi-bin\r\n"
                               "01-31-2008  10:22       1234 report 2008.csv\r\n"
                               "garbage line\r\n"
                               "drwx short";
    const QList<FtpDirectoryEntry> entries = FtpReplies::ParseListListing(listing);
    EXPECT_EQ(Names(entries, true), (QStringList{"public_html", "my folder", "cgi-bin"}));
    EXPECT_EQ(Names(entries, false), (QStringList{"index.htm", "www", "report 2008.csv"}));
}

TEST(FtpReplies, ListingsAreBoundedInEntries)
{
    QByteArray listing;
    for (int i = 0; i < FtpReplies::MaxListingEntries + 50; ++i)
        listing += "type=dir; d" + QByteArray::number(i) + "\n";
    EXPECT_EQ(FtpReplies::ParseMachineListing(listing).size(), FtpReplies::MaxListingEntries);
}

TEST(FtpReplies, FolderReplyTakesTheLastQuotedName)
{
    QString folder;
    EXPECT_TRUE(FtpReplies::ParseFolderReply("257 \"/\" is the current directory.\r\n"
                                             "250 OK\r\n257 \"/a \"\"quoted\"\" b\" is current\r\n",
                                             folder));
    EXPECT_EQ(folder, "/a \"quoted\" b");
    folder = "kept";
    for (const QByteArray& reply : {QByteArray("250 OK\r\n"), QByteArray("257 no quotes\r\n"),
                                    QByteArray("257 \"unterminated\r\n"), QByteArray("257 \"\" empty\r\n"),
                                    QByteArray()})
        EXPECT_FALSE(FtpReplies::ParseFolderReply(reply, folder)) << reply.toStdString();
    EXPECT_EQ(folder, "kept");
}

TEST(FtpReplies, FinalCodesAndFeatures)
{
    const QByteArray replies = "220 ready\r\n211-Features:\r\n MLST type*;size*;\r\n UTF8\r\n211 End\r\n"
                               "550 No such file\r\n350 Ready\r\n250";
    EXPECT_EQ(FtpReplies::FinalReplyCodes(replies), (QList<int>{220, 211, 550, 350, 250}));
    EXPECT_TRUE(FtpReplies::AnnouncesFeature(replies, "MLST"));
    EXPECT_TRUE(FtpReplies::AnnouncesFeature(replies, "UTF8"));
    EXPECT_FALSE(FtpReplies::AnnouncesFeature(replies, "MLS"));
    EXPECT_FALSE(FtpReplies::AnnouncesFeature("211 MLST in the text only\r\n", "MLST"));
}
