#include "ndb/NdbLogEntry.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbSendJournal.h"

#include "ndb/NdbFileHelpers.h"
#include "support/OtherAccount.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace ndb;

namespace
{
const QByteArray VictimBytes = "the victim's own bytes\n";

class DocumentAccess : public NdbTest::FileTest
{
protected:
    void SetUp() override { m_mask = ::umask(022); }
    void TearDown() override { ::umask(m_mask); }

    static int ModeOf(const QString& path)
    {
        struct stat info
        {
        };
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
    }

    // The folder shared with another account, and a file of ours that it must not reach.
    QString ShareWithOtherAccount()
    {
        if (const QString why = OtherAccount::Unavailable(); !why.isEmpty())
            return why;
        if (!OtherAccount::ShareFolder(m_folder.path()) || !NdbTest::WriteAll(Path("victim"), VictimBytes))
            return QStringLiteral("the shared folder cannot be made");
        return {};
    }

    // A link to the victim, or a file of the other account, planted at the path.
    static bool Plant(bool link, const QString& path)
    {
        return link ? OtherAccount::PlantLink(path, QFileInfo(path).dir().filePath("victim"))
                    : OtherAccount::PlantFile(path, "planted");
    }

    mode_t m_mask = 0;
};

std::unique_ptr<CNdbNewsletter> Letter(const QString& password, SENDERFIELDS field)
{
    auto letter = std::make_unique<CNdbNewsletter>(QStringLiteral("Spring"));
    if (!password.isEmpty())
        letter->Sender().SetField(field, CNdbFieldValue(password));
    return letter;
}
} // namespace

TEST_F(DocumentAccess, ADocumentWithAPasswordIsItsOwnersAndASaveNeverWidensAMode)
{
    struct Case
    {
        const char* name;
        std::function<bool(const QString&)> save;
        int oldMode; // -1: no file yet
        int savedMode;
    };
    const auto letterWith = [](SENDERFIELDS field)
    {
        return [field](const QString& path)
        { return Letter(QStringLiteral("s3cret"), field)->Save(path, "test", 1, 0); };
    };
    const auto plainLetter = [](const QString& path)
    { return Letter({}, SenderRelayPassword)->Save(path, "test", 1, 0); };
    const auto list = [](const QString& password)
    {
        return [password](const QString& path)
        {
            CNdbMailGroup group(QStringLiteral("Members"));
            group.SetField(MailGroupSite210, CNdbFieldValue(password));
            return group.Save(path, "test", 1, 0);
        };
    };
    const Case cases[] = {
        {"new newsletter without a password", plainLetter, -1, 0644},
        {"new newsletter with a relay password", letterWith(SenderRelayPassword), -1, 0600},
        {"new newsletter with a POP3 password", letterWith(SenderPop3Password), -1, 0600},
        {"new newsletter with an FTP password", letterWith(SenderFtpPassword), -1, 0600},
        {"new newsletter with a database password", letterWith(SenderDatabasePassword), -1, 0600},
        {"new mailing list without a password", list({}), -1, 0644},
        {"new mailing list with its admin password", list("adm1n"), -1, 0600},
        {"an old file's mode is kept", plainLetter, 0640, 0640},
        {"a private old file stays private", plainLetter, 0600, 0600},
        {"a password narrows an old file's mode", letterWith(SenderPop3Password), 0664, 0600},
        {"a password narrows a mailing list's old mode", list("adm1n"), 0644, 0600},
        {"a narrower old file stays narrower", letterWith(SenderRelayPassword), 0400, 0400},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const QString path = Path(QStringLiteral("document"));
        QFile::remove(path);
        if (c.oldMode >= 0)
        {
            ASSERT_TRUE(NdbTest::WriteAll(path, "old"));
            ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(c.oldMode)), 0);
        }
        EXPECT_TRUE(c.save(path));
        EXPECT_EQ(ModeOf(path), c.savedMode);
        EXPECT_NE(NdbTest::ReadAll(path), "old");
    }
    EXPECT_EQ(FolderFiles(), QStringList{"document"}) << "no temporary file is left";
}

TEST_F(DocumentAccess, ASaveNeverWritesThroughALinkOrIntoAnotherAccountsFile)
{
    if (const QString why = ShareWithOtherAccount(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    for (const bool link : {true, false})
    {
        SCOPED_TRACE(link ? "a link to a file of ours" : "a file of the other account");
        const QString path = Path(link ? "linked.kvnl" : "foreign.kvnl");
        ASSERT_TRUE(Plant(link, path));
        const QByteArray planted = NdbTest::ReadAll(path);
        EXPECT_FALSE(Letter({}, SenderRelayPassword)->Save(path, "test", 1, 0));
        EXPECT_EQ(NdbTest::ReadAll(Path("victim")), VictimBytes);
        EXPECT_EQ(NdbTest::ReadAll(path), planted);
        EXPECT_EQ(QFileInfo(path).isSymLink(), link);
    }
    EXPECT_EQ(FolderFiles(), QStringList({"foreign.kvnl", "linked.kvnl", "victim"}))
        << "no temporary file is left";
}

TEST_F(DocumentAccess, TheSendJournalIsNeverWrittenThroughALinkOrIntoAnotherAccountsFile)
{
    if (const QString why = ShareWithOtherAccount(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    for (const bool link : {true, false})
    {
        SCOPED_TRACE(link ? "a link to a file of ours" : "a file of the other account");
        const QString document = Path(link ? "linked.kvnl" : "foreign.kvnl");
        const QString journalPath = CNdbSendJournal::PathFor(document);
        ASSERT_TRUE(Plant(link, journalPath));
        const QByteArray planted = NdbTest::ReadAll(journalPath);
        CNdbSendJournal journal(document);
        EXPECT_FALSE(journal.Append(NdbSendSent, QStringLiteral("ann@example.test")));
        EXPECT_EQ(NdbTest::ReadAll(Path("victim")), VictimBytes);
        EXPECT_EQ(NdbTest::ReadAll(journalPath), planted);
    }
    // A journal of our own is still made and appended to.
    CNdbSendJournal own(Path("own.kvnl"));
    EXPECT_TRUE(own.Append(NdbSendSent, QStringLiteral("ann@example.test")));
    EXPECT_TRUE(own.Append(NdbSendSent, QStringLiteral("bob@example.test")));
    EXPECT_EQ(NdbTest::ReadAll(CNdbSendJournal::PathFor(Path("own.kvnl"))).count('\n'), 2);
    EXPECT_EQ(ModeOf(CNdbSendJournal::PathFor(Path("own.kvnl"))), 0600);
}
