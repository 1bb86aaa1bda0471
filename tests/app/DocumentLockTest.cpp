#include "ShellTestSupport.h"

#include "app/DocumentLock.h"
#include "app/KVContext.h"
#include "base/FileHelpers.h"
#include "support/OtherAccount.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace ShellTest;

namespace
{
QByteArray LockString(const QByteArray& utf8)
{
    const qint32 size = qint32(utf8.size());
    QByteArray bytes(reinterpret_cast<const char*>(&size), 4);
    return bytes + utf8;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A "~" file as another program leaves it: its content, and held locked or not.
class ForeignLockFile
{
public:
    ForeignLockFile(const QString& path, const QByteArray& content, bool held)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        file.close();
        if (held)
        {
            m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
            ::flock(m_fd, LOCK_EX);
        }
    }
    ~ForeignLockFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

private:
    int m_fd = -1;
};
} // namespace

TEST(DocumentLock, OnlyAHeldLockMarksTheDocumentInUse)
{
    QTemporaryDir folder;
    const QString document = folder.filePath("June.kvnl");
    const QByteArray ours = LockString("KVLOCK") + LockString("Ann Example") + LockString("harbour");
    struct Case
    {
        const char* name;
        QByteArray content;
        bool held;
        bool inUse;
        QString owner;
        QString computer;
    };
    const Case cases[] = {
        {"no lock file", {}, false, false, {}, {}},
        {"left over by a program that ended", ours, false, false, {}, {}},
        {"held by another program", ours, true, true, "Ann Example", "harbour"},
        {"held, but not our format", "garbage of some other kind", true, true, {}, {}},
        {"held, cut short after the owner",
         LockString("KVLOCK") + LockString("Ann Example") + "\x10",
         true,
         true,
         "Ann Example",
         {}},
        {"held, with an absurd length", QByteArray("\xFF\xFF\xFF\x7F", 4) + "KVLOCK", true, true, {}, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        QFile::remove(document + "~");
        std::unique_ptr<ForeignLockFile> file;
        if (!c.content.isEmpty())
            file = std::make_unique<ForeignLockFile>(document + "~", c.content, c.held);
        QString owner = "x";
        QString computer = "x";
        EXPECT_EQ(CDocumentLock::IsInUse(document, owner, computer), c.inUse);
        EXPECT_EQ(owner, c.owner);
        EXPECT_EQ(computer, c.computer);
    }
}

TEST(DocumentLock, ALockIsTheOwnersAndGoesAwayWithItsDocument)
{
    QTemporaryDir folder;
    const QString document = folder.filePath("June.kvnl");
    {
        // A left-over file does not keep a new lock from being made.
        ForeignLockFile leftOver(document + "~",
                                 LockString("KVLOCK") + LockString("Old") + LockString("gone"), false);
    }
    CDocumentLock lock;
    ASSERT_TRUE(lock.Create(document));
    EXPECT_EQ(lock.GetLockPath(), document + "~");
    QString owner;
    QString computer;
    EXPECT_TRUE(CDocumentLock::IsInUse(document, owner, computer));
    EXPECT_EQ(owner, CDocumentLock::OwnerName());
    EXPECT_EQ(computer, CDocumentLock::ComputerName());
    EXPECT_FALSE(owner.isEmpty());

    CDocumentLock second;
    EXPECT_FALSE(second.Create(document)) << "a held lock cannot be taken twice";
    EXPECT_TRUE(QFileInfo::exists(document + "~")) << "and the failed attempt leaves it";

    lock.Delete();
    EXPECT_FALSE(QFileInfo::exists(document + "~"));
    EXPECT_FALSE(CDocumentLock::IsInUse(document, owner, computer));
}

TEST(DocumentLock, ALinkOrAnotherAccountsLockFileIsLeftAsItIs)
{
    if (const QString why = OtherAccount::Unavailable(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir folder;
    ASSERT_TRUE(OtherAccount::ShareFolder(folder.path()));
    const QString victim = folder.filePath("victim");
    const QByteArray victimBytes = "the victim's own bytes";
    ASSERT_TRUE(WriteFile(victim, victimBytes));
    const QByteArray stale = LockString("KVLOCK") + LockString("Bo Other") + LockString("far");
    for (const bool link : {true, false})
    {
        SCOPED_TRACE(link ? "a link to a file of ours" : "a stale lock of the other account");
        const QString document = folder.filePath(link ? "linked.kvnl" : "foreign.kvnl");
        const QString lockPath = CDocumentLock::LockPathOf(document);
        ASSERT_TRUE(link ? OtherAccount::PlantLink(lockPath, victim)
                         : OtherAccount::PlantFile(lockPath, "x"));
        // Bo's file in the format a program leaves, written in by us as Bo's program would.
        if (!link)
        {
            ASSERT_TRUE(WriteFile(lockPath, stale));
        }
        const QByteArray planted = ReadFile(lockPath);

        CDocumentLock lock;
        EXPECT_FALSE(lock.Create(document));
        EXPECT_FALSE(lock.IsHeld());
        EXPECT_TRUE(IsForeignFile(lockPath));
        EXPECT_EQ(ReadFile(victim), victimBytes);
        EXPECT_EQ(ReadFile(lockPath), planted);
        QString owner;
        QString computer;
        EXPECT_FALSE(CDocumentLock::IsInUse(document, owner, computer)) << "nobody holds it";
    }
}

TEST_F(ShellProgram, AStaleLockOfAnotherAccountIsReportedAndLeftAsItIs)
{
    if (const QString why = OtherAccount::Unavailable(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    ASSERT_TRUE(OtherAccount::ShareFolder(m_home.path()));
    ASSERT_TRUE(OtherAccount::ShareFolder(Document({})));
    const QString path = Document(QStringLiteral("June.kvnl"));
    ASSERT_TRUE(WriteNewsletter(path, QStringLiteral("June")));
    ASSERT_TRUE(OtherAccount::PlantFile(path + "~", "left by a program of Bo"));
    CMainWnd& window = StartProgram();
    {
        ModalAnswers answers;
        answers.Box("OK");
        EXPECT_TRUE(window.OpenNewsletter(path));
        ASSERT_EQ(answers.boxTexts.size(), 1);
        EXPECT_TRUE(answers.boxTexts[0].startsWith(
            QStringLiteral("The lock file %1 belongs to another account").arg(path + "~")))
            << answers.boxTexts[0].toStdString();
    }
    EXPECT_NE(m_app->GetContext()->GetCurrentNewsletter(), nullptr) << "the document is open all the same";
    EXPECT_FALSE(window.GetDocumentLock().IsHeld());
    EXPECT_EQ(ReadFile(path + "~"), "left by a program of Bo");
}

TEST_F(ShellProgram, AnotherProgramsDocumentIsInUseUntilThatProgramEndsEvenKilled)
{
    const QString path = Document(QStringLiteral("June.kvnl"));
    ASSERT_TRUE(WriteNewsletter(path, QStringLiteral("June")));

    // The first program opens the document named on its command line.
    QProcess first;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", Path("first"));
    environment.insert("XDG_CONFIG_HOME", Path("first/config"));
    first.setProcessEnvironment(environment);
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(KV_PROGRAM), {path});
    ASSERT_TRUE(first.waitForStarted());
    QString owner;
    QString computer;
    ASSERT_TRUE(QTest::qWaitFor([&] { return CDocumentLock::IsInUse(path, owner, computer); }, 60000));

    CMainWnd& window = StartProgram();
    {
        ModalAnswers answers;
        answers.Box("OK");
        EXPECT_FALSE(window.OpenNewsletter(path));
        EXPECT_EQ(answers.boxTexts,
                  QStringList{QStringLiteral("The file is already in use by %1 (%2)")
                                  .arg(CDocumentLock::OwnerName(), CDocumentLock::ComputerName())});
    }
    EXPECT_EQ(m_app->GetContext()->GetCurrentDocument(), nullptr);

    first.kill();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_TRUE(QFileInfo::exists(path + "~")) << "a killed program leaves its lock file";
    ASSERT_TRUE(window.OpenNewsletter(path)) << "but not its lock";
    EXPECT_TRUE(CDocumentLock::IsInUse(path, owner, computer));

    // Saving writes a new file beside the old one and renames it over it; the lock stays on.
    for (int save = 0; save < 3; ++save)
    {
        window.SendMessage(WM_COMMAND, ID_CURBASE_CHANGED);
        window.SendMessage(WM_COMMAND, ID_FILE_SAVE);
        EXPECT_FALSE(m_app->GetContext()->GetCurrentNewsletter()->IsModified());
        EXPECT_TRUE(CDocumentLock::IsInUse(path, owner, computer)) << "after save " << save;
        EXPECT_EQ(owner, CDocumentLock::OwnerName());
    }
}
