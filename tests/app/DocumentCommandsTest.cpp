#include "ShellTestSupport.h"

#include "app/DocumentLock.h"

#include <QFile>
#include <QFileInfo>

using namespace ShellTest;

namespace
{
bool InUse(const QString& path)
{
    QString owner;
    QString computer;
    return CDocumentLock::IsInUse(path, owner, computer);
}

class DocumentCommands : public ShellProgram
{
protected:
    void SetUp() override
    {
        ShellProgram::SetUp();
        m_path = Document("June.kvnl");
        ASSERT_TRUE(WriteNewsletter(m_path, "June"));
        ndb::CNdbNewsletter withRecipient;
        ASSERT_TRUE(withRecipient.Load(m_path));
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("ann@example.org")));
        withRecipient.Users().AddUser(std::move(user));
        ASSERT_TRUE(withRecipient.Save(m_path, "Kelvora", 2007, 1));
    }
    ndb::CNdbNewsletter* Open() { return m_app->GetContext()->GetCurrentNewsletter(); }

    QString m_path;
};
} // namespace

TEST_F(DocumentCommands, SaveAsWritesACopyWithAnIdentityOfItsOwnAndOpensIt)
{
    CMainWnd& window = StartProgram();
    ASSERT_TRUE(window.OpenNewsletter(m_path));
    const QString id = Open()->GetString(ndb::NewsletterId);
    // No extension, whichever filter is chosen: a newsletter, not a template.
    const QString copy = Document("June copy");
    {
        ModalAnswers answers;
        answers.File(copy);
        ASSERT_TRUE(ChooseMenuItem(window, {"&File", "Save &As..."}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
    }
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Open()->GetPath(), copy);
    EXPECT_FALSE(Open()->IsTemplate());
    EXPECT_NE(Open()->GetString(ndb::NewsletterId), id);
    EXPECT_EQ(Open()->Users().GetCount(), 1);
    const ArchiveFileHeader header = HeaderOf(copy);
    EXPECT_EQ(header.typeTag, "KVN");
    EXPECT_EQ(header.creator, "Kelvora");
    EXPECT_EQ(header.creatorMajor, 2007);
    EXPECT_EQ(header.creatorMinor, 1);
    EXPECT_TRUE(InUse(copy));
    EXPECT_FALSE(InUse(m_path)) << "the old document's lock went with it";
    EXPECT_EQ(window.GetWindowText(), "June copy - Kelvora - Talvecor");
}

TEST_F(DocumentCommands, SaveAsATemplateLeavesTheOpenDocumentAsItWas)
{
    CMainWnd& window = StartProgram();
    ASSERT_TRUE(window.OpenNewsletter(m_path));
    window.SendMessage(WM_COMMAND, ID_CURBASE_CHANGED);
    const QString templatePath = Document("Spring.kvnlt");
    ASSERT_TRUE(WriteNewsletter(templatePath, "an older file in the way"));
    {
        // An existing file: No asks again, Yes overwrites.
        ModalAnswers answers;
        answers.File(templatePath).Box("No").File(templatePath).Box("Yes").Box("OK");
        ASSERT_TRUE(ChooseMenuItem(window, {"&File", "Save &As..."}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
        EXPECT_EQ(answers.boxTexts,
                  QStringList({"A file already exists with the same filename.\n\nDo you want to "
                               "overwrite the file?",
                               "A file already exists with the same filename.\n\nDo you want to "
                               "overwrite the file?",
                               "Newsletter Template saved successfully."}));
    }
    EXPECT_EQ(HeaderOf(templatePath).typeTag, "KVNLT");
    ndb::CNdbNewsletter saved;
    ndb::CNdbNewsletter::ObjectMap objects;
    ndb::CNdbNewsletter::TextMap texts;
    ASSERT_TRUE(saved.LoadTemplate(templatePath, objects, texts));
    EXPECT_TRUE(saved.IsTemplate());
    EXPECT_EQ(saved.Users().GetCount(), 0);
    ndb::CNdbFieldValue path;
    EXPECT_FALSE(saved.GetField(ndb::NewsletterPath, path));

    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Open()->GetPath(), m_path);
    EXPECT_TRUE(Open()->IsModified());
    EXPECT_FALSE(Open()->IsTemplate());
    EXPECT_TRUE(window.GetDocumentLock().IsHeld());
}

TEST_F(DocumentCommands, AFailedSaveAsKeepsTheDocumentOpenAndLocked)
{
    CMainWnd& window = StartProgram();
    ASSERT_TRUE(window.OpenNewsletter(m_path));
    ModalAnswers answers;
    answers.Box("OK");
    window.SaveNewsletterAs(Document("no such folder/June.kvnl"));
    EXPECT_EQ(answers.boxTexts, QStringList{"Can't save newsletter!"});
    EXPECT_EQ(Open()->GetPath(), m_path);
    EXPECT_TRUE(InUse(m_path));
}

TEST_F(DocumentCommands, OpeningTheOpenDocumentAgainIsRefusedAsInUseByThisProgram)
{
    CMainWnd& window = StartProgram();
    ASSERT_TRUE(window.OpenNewsletter(m_path));
    ndb::CNdbNewsletter* before = Open();
    {
        ModalAnswers answers;
        answers.Box("OK");
        EXPECT_FALSE(window.OpenNewsletter(m_path));
        EXPECT_EQ(answers.boxTexts,
                  QStringList{QStringLiteral("The file is already in use by %1 (%2)")
                                  .arg(CDocumentLock::OwnerName(), CDocumentLock::ComputerName())});
    }
    EXPECT_EQ(Open(), before);
    // From the navigation pane the open document's shortcut does nothing at all.
    ndb::CNdbShortcutLink link("June", m_path, 1);
    EXPECT_EQ(window.SendMessage(UM_OPEN_SHORTCUT, 0, LPARAM(&link)), 0);
    EXPECT_EQ(Open(), before);
    const QString may = Document("May.kvnl");
    ASSERT_TRUE(WriteNewsletter(may, "May"));
    ndb::CNdbShortcutLink other("May", may, 1);
    EXPECT_EQ(window.SendMessage(UM_OPEN_SHORTCUT, 0, LPARAM(&other)), 1);
    EXPECT_EQ(Open()->GetPath(), may);
}

TEST_F(DocumentCommands, NewDocumentsAreNamedFilesOfTheirFolder)
{
    CMainWnd& window = StartProgram();
    struct Case
    {
        QString name;
        bool created;
    };
    const Case cases[] = {
        {"Autumn", true}, {"", false}, {"../Autumn", false}, {"sub/Autumn", false}, {"back\\slash", false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = Document(c.name + ".kvnl");
        ShellHooks::Get().askNewNewsletter = [&](CWnd*, QString& name, QString& folder)
        {
            name = c.name;
            folder = Path("documents");
            return true;
        };
        ModalAnswers answers;
        if (!c.created)
            answers.Box("OK");
        window.SendMessage(WM_COMMAND, ID_FILE_CREATE_EMPTY_NEWSLETTER);
        EXPECT_TRUE(answers.Done());
        EXPECT_EQ(QFileInfo::exists(path), c.created);
        if (c.created)
        {
            ASSERT_NE(Open(), nullptr);
            EXPECT_EQ(Open()->GetPath(), path);
            EXPECT_EQ(HeaderOf(path).creator, QString()) << "a new newsletter is written as Save writes";
        }
        else
        {
            EXPECT_EQ(answers.boxTexts, QStringList{"Can't create newsletter file:\n" + path});
        }
    }

    ShellHooks::Get().askNewMailingList = [&](CWnd*, QString& name, QString& folder)
    {
        name = "Club";
        folder = Path("documents/");
        return true;
    };
    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Create Mailing List..."}));
    ndb::CNdbMailGroup* list = m_app->GetContext()->GetOpenMailingList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetPath(), Document("Club.kvmg"));
    EXPECT_EQ(HeaderOf(Document("Club.kvmg")).creator, "Kelvora");
    EXPECT_TRUE(window.GetMailGroupView().IsWindowVisible());
}
