#include "EmailSettingsSupport.h"

#include "base/AppSettings.h"
#include "mailui/EmailSettingsSheet.h"
#include "platform/ui/ListCtrl.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTreeWidget>

using namespace ndb;
using namespace EmailSettingsTest;
using DialogTest::ClickButton;
using DialogTest::ModalScript;
using DialogTest::SaveArtifact;
using ServicesUi::Click;
using ServicesUi::Item;
using ServicesUi::Type;

namespace
{
constexpr int IdSubject = 1157;
constexpr int IdImportance = 1101;
constexpr int IdFromAddress = 1153;
constexpr int IdFromName = 1152;
constexpr int IdOrganization = 1154;
constexpr int IdReplyTo = 1155;
constexpr int IdCopySettings = 1578;
constexpr int IdPlainText = 1160;
constexpr int IdList = 1117;
constexpr int IdAdd = 1641;
constexpr int IdDelete = 1261;
constexpr int IdMoveUp = 1644;
constexpr int IdMoveDown = 1647;

constexpr int PlainTextIndex = 2;
constexpr int AttachmentsIndex = 3;

std::unique_ptr<CNdbResource> Attachment(const QString& name, int size)
{
    auto resource = std::make_unique<CNdbResource>();
    resource->SetPayload(QByteArray(size, 'x'));
    resource->SetField(ResourceFileName, CNdbFieldValue(name));
    resource->SetField(ResourceSize, CNdbFieldValue(NdbValueInt, size));
    return resource;
}

QStringList AttachmentNames(const CNdbNewsletter& newsletter)
{
    QStringList names;
    for (const auto& attachment : newsletter.Layout().Attachments())
        names << attachment->GetString(ResourceFileName);
    return names;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, int size)
{
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'y'));
    return file.fileName();
}

QTreeWidget* ListOf(CPageSenderAttachments& page)
{
    return qobject_cast<QTreeWidget*>(Item(page, IdList));
}

void ClickRow(CPageSenderAttachments& page, int row)
{
    QTreeWidget* tree = ListOf(page);
    const QRect rect = tree->visualItemRect(tree->topLevelItem(row));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QCoreApplication::processEvents();
}

QStringList Rows(CPageSenderAttachments& page)
{
    QStringList rows;
    QTreeWidget* tree = ListOf(page);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        rows << tree->topLevelItem(i)->text(0) + u'|' + tree->topLevelItem(i)->text(1);
    return rows;
}

// Which of Delete, Move Up and Move Down are enabled, once the posted update has run.
QString Buttons(CPageSenderAttachments& page)
{
    QCoreApplication::processEvents();
    QString states;
    for (const int id : {IdDelete, IdMoveUp, IdMoveDown})
        states += Item(page, id)->isEnabled() ? u'1' : u'0';
    return states;
}

class EmailSettingsSheetTest : public EmailSettingsFixture
{
protected:
    EmailSettingsSheetTest()
    {
        m_newsletter.SetField(NewsletterName, CNdbFieldValue(QStringLiteral("Spring news")));
        m_newsletter.Layout().Attachments().push_back(Attachment(QStringLiteral("a.txt"), 1023));
    }
};
} // namespace

TEST(EmailSettingsAttachments, SizeColumnCountsStartedKilobytes)
{
    const std::pair<int, const char*> cases[] = {
        {0, "0 KB"}, {-5, "0 KB"}, {1, "1 KB"}, {1023, "1 KB"}, {1024, "2 KB"}, {5000, "5 KB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(CPageSenderAttachments::SizeText(bytes), QString::fromLatin1(text)) << bytes;
}

TEST_F(EmailSettingsSheetTest, OkWritesEveryPageIntoTheNewsletterThatReopensWithIt)
{
    const QString b = WriteFile(m_dir, QStringLiteral("b.bin"), 1024);
    const QString c = WriteFile(m_dir, QStringLiteral("c.txt"), 0);
    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script
        .Then(IsSheet(sheet),
              [&](QWidget*)
              {
                  CPageSenderGeneral& general = sheet.General();
                  EXPECT_EQ(qobject_cast<QLineEdit*>(Item(general, IdSubject))->text(), "Spring news");
                  auto* combo = qobject_cast<QComboBox*>(Item(general, IdImportance));
                  EXPECT_EQ(combo->currentText(), "Normal");
                  Type(general, IdSubject, QStringLiteral("Summer <news> & more"));
                  combo->setFocus();
                  QTest::keyClick(combo, Qt::Key_Down);
                  Type(general, IdFromAddress, QStringLiteral("editor@example.com"));
                  Type(general, IdFromName, QStringLiteral("The Editor"));
                  Type(general, IdOrganization, QStringLiteral("Example Ltd"));
                  Type(general, IdReplyTo, QStringLiteral("reply@example.com"));
                  SaveArtifact(sheet.Sheet(), QStringLiteral("email-settings-general.png"));

                  ClickTab(sheet.Sheet(), PlainTextIndex);
                  QWidget* text = Item(sheet.PlainText(), IdPlainText);
                  text->setFocus();
                  QTest::keyClicks(text, QStringLiteral("Line one"));
                  QTest::keyClick(text, Qt::Key_Return);
                  QTest::keyClicks(text, QStringLiteral("Line two"));
                  SaveArtifact(sheet.Sheet(), QStringLiteral("email-settings-plain-text.png"));

                  ClickTab(sheet.Sheet(), AttachmentsIndex);
                  EXPECT_EQ(Rows(sheet.Attachments()), QStringList{"a.txt|1 KB"});
                  Click(sheet.Attachments(), IdAdd);
              })
        .Then(IsFileDialog,
              [&](QWidget* w) {
                  ChooseFiles(w, {b, c});
              })
        .ThenAgain(IsSheet(sheet),
                   [&](QWidget*)
                   {
                       CPageSenderAttachments& page = sheet.Attachments();
                       EXPECT_EQ(Rows(page), (QStringList{"a.txt|1 KB", "b.bin|2 KB", "c.txt|0 KB"}));
                       EXPECT_EQ(Buttons(page), "111") << "the first added row is selected";
                       Click(page, IdMoveUp);
                       EXPECT_EQ(Rows(page), (QStringList{"b.bin|2 KB", "a.txt|1 KB", "c.txt|0 KB"}));
                       EXPECT_EQ(Buttons(page), "101");
                       SaveArtifact(sheet.Sheet(), QStringLiteral("email-settings-attachments.png"));
                       Click(sheet.Sheet(), IDOK);
                   });
    script.Start();

    EXPECT_TRUE(sheet.Run(EmailSettingsSheet::GeneralPage));
    EXPECT_TRUE(script.Finished());
    QString folder;
    EXPECT_TRUE(ReadAppSettingString(HKEY_CURRENT_USER, QStringLiteral("SavePath_Attachments"), folder));
    EXPECT_EQ(folder, m_dir.path() + u'/');

    const QString path = m_dir.filePath(QStringLiteral("letter.kvnl"));
    SaveNewsletter(m_newsletter, path);
    CNdbNewsletter reopened;
    ASSERT_TRUE(reopened.Load(path));
    EXPECT_EQ(reopened.GetString(NewsletterName), "Summer <news> & more");
    CNdbFieldValue importance;
    ASSERT_TRUE(reopened.GetField(NewsletterImportance, importance));
    EXPECT_EQ(importance.GetType(), NdbValueIntCode);
    EXPECT_EQ(importance.GetInt(), 1);
    const CNdbSender& sender = reopened.Sender();
    EXPECT_EQ(sender.GetString(SenderFromAddress), "editor@example.com");
    EXPECT_EQ(sender.GetString(SenderFromName), "The Editor");
    EXPECT_EQ(sender.GetString(SenderOrganization), "Example Ltd");
    EXPECT_EQ(sender.GetString(SenderReplyTo), "reply@example.com");
    EXPECT_EQ(reopened.Layout().GetString(LayoutPlainText), "Line one\nLine two");
    EXPECT_EQ(AttachmentNames(reopened), (QStringList{"b.bin", "a.txt", "c.txt"}));
    EXPECT_EQ(reopened.Layout().Attachments()[0]->GetPayload().size(), 1024);
    EXPECT_EQ(reopened.Layout().Attachments()[0]->GetString(ResourceSource), b);
}

TEST_F(EmailSettingsSheetTest, CancelLeavesTheSavedNewsletterByteIdentical)
{
    m_newsletter.Layout().Attachments().push_back(Attachment(QStringLiteral("b.bin"), 3000));
    m_newsletter.Sender().SetField(SenderFromAddress, CNdbFieldValue(QStringLiteral("old@example.com")));
    const QString before = m_dir.filePath(QStringLiteral("before.kvnl"));
    SaveNewsletter(m_newsletter, before);
    CNdbNewsletter opened;
    ASSERT_TRUE(opened.Load(before));
    const QString reference = m_dir.filePath(QStringLiteral("reference.kvnl"));
    SaveNewsletter(opened, reference);
    FakeContext context(&opened);
    EmailSettingsSheet sheet(context, opened);
    ModalScript script;
    script.Then(IsSheet(sheet),
                [&](QWidget*)
                {
                    Type(sheet.General(), IdSubject, QStringLiteral("Changed"));
                    Type(sheet.General(), IdFromAddress, QStringLiteral("new@example.com"));
                    ClickTab(sheet.Sheet(), AttachmentsIndex);
                    ClickRow(sheet.Attachments(), 0);
                    Click(sheet.Attachments(), IdMoveDown);
                    EXPECT_EQ(Rows(sheet.Attachments()), (QStringList{"b.bin|3 KB", "a.txt|1 KB"}));
                    Click(sheet.Sheet(), IDCANCEL);
                });
    script.Start();

    EXPECT_FALSE(sheet.Run(EmailSettingsSheet::GeneralPage));
    EXPECT_TRUE(script.Finished());
    const QString after = m_dir.filePath(QStringLiteral("after.kvnl"));
    SaveNewsletter(opened, after);
    EXPECT_EQ(FileBytes(after), FileBytes(reference));
    EXPECT_EQ(AttachmentNames(opened), (QStringList{"a.txt", "b.bin"}));
}

TEST_F(EmailSettingsSheetTest, AttachmentButtonsFollowTheSelectionAndDeleteAsks)
{
    m_newsletter.Layout().Attachments().push_back(Attachment(QStringLiteral("b.bin"), 1));
    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script
        .Then(IsSheet(sheet),
              [&](QWidget*)
              {
                  ClickTab(sheet.Sheet(), AttachmentsIndex);
                  CPageSenderAttachments& page = sheet.Attachments();
                  EXPECT_EQ(Buttons(page), "000") << "nothing selected";
                  ClickRow(page, 1);
                  EXPECT_EQ(Buttons(page), "110") << "the last row";
                  Click(page, IdMoveUp);
                  EXPECT_EQ(Buttons(page), "101") << "the first row";
                  EXPECT_EQ(Rows(page), (QStringList{"b.bin|1 KB", "a.txt|1 KB"}));
                  Click(page, IdDelete);
              })
        .ThenShowing(QStringLiteral("Do you want to delete attachment b.bin?"),
                     [](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); })
        .ThenAgain(IsSheet(sheet),
                   [&](QWidget*)
                   {
                       CPageSenderAttachments& page = sheet.Attachments();
                       EXPECT_EQ(Rows(page), QStringList{"a.txt|1 KB"});
                       EXPECT_EQ(Buttons(page), "000") << "no row selected after a delete";
                       ClickRow(page, 0);
                       EXPECT_EQ(Buttons(page), "100") << "a single attachment cannot move";
                       Click(sheet.Sheet(), IDOK);
                   });
    script.Start();

    EXPECT_TRUE(sheet.Run(EmailSettingsSheet::GeneralPage));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(AttachmentNames(m_newsletter), QStringList{"a.txt"});
}

TEST_F(EmailSettingsSheetTest, CopySettingsTakesOnlyTheSenderAddressesOfTheChosenFile)
{
    CNdbNewsletter source;
    source.SetField(NewsletterName, CNdbFieldValue(QStringLiteral("Autumn issue")));
    source.Sender().SetField(SenderFromAddress, CNdbFieldValue(QStringLiteral("autumn@example.com")));
    source.Sender().SetField(SenderFromName, CNdbFieldValue(QStringLiteral("Autumn Desk")));
    source.Sender().SetField(SenderOrganization, CNdbFieldValue(QStringLiteral("Leaves Ltd")));
    source.Sender().SetField(SenderRelayServer, CNdbFieldValue(QStringLiteral("other.example")));
    const QString fixture = m_dir.filePath(QStringLiteral("autumn.kvnl"));
    SaveNewsletter(source, fixture);
    const QString broken = WriteFile(m_dir, QStringLiteral("broken.kvnl"), 40);
    m_newsletter.Sender().SetField(SenderReplyTo, CNdbFieldValue(QStringLiteral("old@example.com")));
    m_newsletter.Sender().SetField(SenderRelayServer, CNdbFieldValue(QStringLiteral("relay.example")));

    EmailSettingsSheet sheet(m_context, m_newsletter);
    const QString question = QStringLiteral("Are you sure you wish to import the settings from Autumn issue? "
                                            "The current settings will be overwritten.");
    const auto copyOnce = [&](ModalScript& script)
    {
        script.Then(IsFileDialog, [&](QWidget* w) { ChooseFiles(w, {fixture}); })
            .ThenShowing(question, [](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); })
            .ThenShowing(QStringLiteral("Settings imported successfully"),
                         [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); });
    };
    ModalScript script;
    script
        .Then(IsSheet(sheet),
              [&](QWidget*)
              {
                  Type(sheet.General(), IdSubject, QStringLiteral("Typed subject"));
                  Click(sheet.General(), IdCopySettings);
              })
        .Then(IsFileDialog, [&](QWidget* w) { ChooseFiles(w, {broken}); })
        .ThenShowing(QStringLiteral("The file could not be opened."),
                     [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); })
        .ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.General(), IdCopySettings); });
    copyOnce(script);
    script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.General(), IdCopySettings); });
    copyOnce(script);
    script.ThenAgain(IsSheet(sheet),
                     [&](QWidget*)
                     {
                         CPageSenderGeneral& general = sheet.General();
                         auto* combo = qobject_cast<QComboBox*>(Item(general, IdImportance));
                         EXPECT_EQ(combo->count(), 3);
                         EXPECT_EQ(qobject_cast<QLineEdit*>(Item(general, IdSubject))->text(),
                                   "Typed subject");
                         EXPECT_EQ(qobject_cast<QLineEdit*>(Item(general, IdReplyTo))->text(), "");
                         Click(sheet.Sheet(), IDOK);
                     });
    script.Start();

    EXPECT_TRUE(sheet.Run(EmailSettingsSheet::GeneralPage));
    EXPECT_TRUE(script.Finished());
    const CNdbSender& sender = m_newsletter.Sender();
    EXPECT_EQ(sender.GetString(SenderFromAddress), "autumn@example.com");
    EXPECT_EQ(sender.GetString(SenderFromName), "Autumn Desk");
    EXPECT_EQ(sender.GetString(SenderOrganization), "Leaves Ltd");
    CNdbFieldValue replyTo;
    EXPECT_TRUE(sender.GetField(SenderReplyTo, replyTo)) << "an absent address is copied as empty text";
    EXPECT_EQ(sender.GetString(SenderReplyTo), "");
    EXPECT_EQ(sender.GetString(SenderRelayServer), "relay.example") << "the delivery is not the page's";
    EXPECT_EQ(m_newsletter.GetString(NewsletterName), "Typed subject");
    QString folder;
    EXPECT_TRUE(ReadAppSettingString(HKEY_CURRENT_USER, QStringLiteral("SavePath_ImportSender"), folder));
    EXPECT_EQ(folder, m_dir.path() + u'/');
}

TEST(EmailSettings, DoNothingWithoutAnOpenNewsletter)
{
    FakeContext context(nullptr);
    EXPECT_FALSE(RunEmailSettings(context, EmailSettingsSheet::GeneralPage));
}
