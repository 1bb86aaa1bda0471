#include "PythonCsv.h"
#include "RecipientsTestSupport.h"
#include "base/TextHelpers.h"
#include "controls/CommandIds.h"
#include "platform/core/AppStrings.h"
#include "recipients/DlgUserAdd.h"
#include "recipients/DlgUserImportCsvDelimiter.h"
#include "recipients/DlgUserImportFilter.h"
#include "recipients/DlgUserImportMap.h"
#include "recipients/DlgUserImportMapField.h"
#include "recipients/DlgUserImportSelect.h"
#include "recipients/UserImportProfile.h"
#include "res/dialogs/UserAdd.h"
#include "res/dialogs/UserImportCsvDelimiter.h"
#include "res/dialogs/UserImportMap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace DialogTest;

namespace
{

// Clicks the button with the caption near its left end: a radio button or check box takes
// clicks only on its mark and its text, not on the empty rest of its rectangle.
void Click(QWidget* window, const QString& caption)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
    {
        if (button->isVisible() && QString(button->text()).remove(u'&') == caption)
        {
            QTest::mouseClick(button, Qt::LeftButton, {},
                              QPoint(std::min(8, button->width() / 2), button->height() / 2));
            return;
        }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
}

QTreeWidget* ListOf(QWidget* window)
{
    return window->findChild<QTreeWidget*>();
}
} // namespace

using ImportDialogs = UsersWindowFixture;

TEST_F(ImportDialogs, TextFilesThroughEveryDialogGiveThePythonRows)
{
    struct Case
    {
        const char* file;
        const char* delimiter;
        QChar character;
    };
    const Case cases[] = {
        {"comma-utf8.csv", "Comma", u','},
        {"semicolon-utf8-bom.csv", "Semicolon", u';'},
        {"tab-utf16le.txt", "Tab", u'\t'},
        {"comma-cp1252.csv", "Comma", u','},
    };
    for (const Case& c : cases)
    {
        const QString path = QStringLiteral(KV_TEST_DATA_DIR "/text/") + QString::fromLatin1(c.file);
        FakeUsersContext context;
        ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
        CWndUsers& window = MakeWindow(context, 0);
        const QString delimiter = QString::fromLatin1(c.delimiter);
        ModalScript script;
        script
            .ThenTitled(QStringLiteral("Select Source"),
                        [](QWidget* w)
                        {
                            Click(w, QStringLiteral("Text File (.csv)"));
                            SaveArtifact(*CWnd::FromHandle(w), QStringLiteral("recipients-271.png"));
                            Click(w, QStringLiteral("Import"));
                        })
            .Then(IsFileDialog, [path](QWidget* w) { ChooseFiles(w, {path}); })
            .ThenTitled(QStringLiteral("Select Column Delimiter"),
                        [delimiter](QWidget* w)
                        {
                            Click(w, delimiter);
                            SaveArtifact(*CWnd::FromHandle(w), QStringLiteral("recipients-298.png"));
                            Click(w, QStringLiteral("OK"));
                        })
            .ThenTitled(QStringLiteral("Import recipients"),
                        [](QWidget* w)
                        {
                            Click(w, QStringLiteral("First row is header"));
                            SaveArtifact(*CWnd::FromHandle(w), QStringLiteral("recipients-235.png"));
                            Click(w, QStringLiteral("OK"));
                        })
            .ThenTitled(QStringLiteral("Select Recipients"),
                        [](QWidget* w)
                        {
                            SaveArtifact(*CWnd::FromHandle(w), QStringLiteral("recipients-282.png"));
                            Click(w, QStringLiteral("Import Selected"));
                        });
        script.Start();
        Command(window, ID_RECIPIENTS_IMPORT);
        EXPECT_TRUE(script.Finished()) << c.file << " " << app.messages.join("|").toStdString();

        const TextRows python = PythonCsvRows(path, c.character);
        std::map<QString, QStringList> expected;
        int invalid = 0;
        for (qsizetype r = 1; r < python.size(); ++r)
        {
            if (python[r].isEmpty())
                continue;
            if (IsValidEmailAddress(python[r][0]))
                expected[python[r][0]] = python[r];
            else
                ++invalid;
        }
        ASSERT_FALSE(expected.empty()) << c.file;
        ASSERT_EQ(newsletter.Users().GetCount(), int(expected.size())) << c.file;
        for (const auto& user : newsletter.Users().GetUsers())
        {
            const QStringList& row = expected[user->GetString(ndb::UserEmail)];
            for (int i = 0; i < row.size(); ++i)
                EXPECT_EQ(user->GetString(110 + 10 * i), row[i]) << c.file << " cell " << i;
        }
        EXPECT_EQ(app.messages.back(),
                  FormatResourceText(LoadAppString(15330),
                                     {QString::number(expected.size()), "0", QString::number(invalid)}))
            << c.file;
    }
}

TEST_F(ImportDialogs, ATextFileWithARowOfTooManyCellsIsRefusedWithAMessage)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("wide.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("ann@example.test,Ann\n" + QByteArray(1999, ',') + "\nbob@example.test,Bob\n");
    file.close();
    FakeUsersContext context;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
    CWndUsers& window = MakeWindow(context, 0);
    ModalScript script;
    script
        .ThenTitled(QStringLiteral("Select Source"),
                    [](QWidget* w)
                    {
                        Click(w, QStringLiteral("Text File (.csv)"));
                        Click(w, QStringLiteral("Import"));
                    })
        .Then(IsFileDialog, [path](QWidget* w) { ChooseFiles(w, {path}); })
        .ThenTitled(QStringLiteral("Select Column Delimiter"),
                    [](QWidget* w)
                    {
                        Click(w, QStringLiteral("Comma"));
                        Click(w, QStringLiteral("OK"));
                    });
    script.Start();
    Command(window, ID_RECIPIENTS_IMPORT);
    EXPECT_TRUE(script.Finished()) << app.messages.join("|").toStdString();
    ASSERT_FALSE(app.messages.isEmpty());
    EXPECT_TRUE(
        app.messages.back().startsWith("The file was not imported: a row holds more than 1024 fields"))
        << app.messages.back().toStdString();
    EXPECT_EQ(newsletter.Users().GetCount(), 0) << "the rows that fit are not imported either";
}

TEST_F(ImportDialogs, MappingListShowsSampleColumnsAndUnboundOnes)
{
    CUserImportProfile profile;
    const TextRows rows = {{"a@x.com", "Dr", "Ann"}};
    ndb::CNdbUserList target;
    CDlgUserImportMap dialog(profile, rows, target, &main);
    ASSERT_TRUE(dialog.Create(IDD_USER_IMPORT_MAP, &main));
    ASSERT_TRUE(ShowActive(dialog));
    QTreeWidget* list = ListOf(dialog.GetSafeHwnd());
    ASSERT_TRUE(list);
    ASSERT_EQ(list->topLevelItemCount(), 24);
    EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral(" 1   (a@x.com)"));
    EXPECT_EQ(list->topLevelItem(2)->text(2), QStringLiteral(" 3   (Ann)"));
    EXPECT_EQ(list->topLevelItem(3)->text(2), QString());
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("<-----"));

    list->setCurrentItem(list->topLevelItem(0));
    Click(dialog.GetSafeHwnd(), QStringLiteral("Clear (unbind)"));
    ASSERT_EQ(list->topLevelItemCount(), 25);
    EXPECT_EQ(list->topLevelItem(24)->text(0), QString());
    EXPECT_EQ(list->topLevelItem(24)->text(2), QStringLiteral(" 1   (a@x.com)"));
    EXPECT_EQ(profile.FindColumn(110), -1);

    // Bind e-mail again through "Map column", choosing the third sample column.
    list->setCurrentItem(list->topLevelItem(0));
    ModalScript script;
    script.ThenTitled(QStringLiteral("Map column"),
                      [](QWidget* w)
                      {
                          auto* columns = w->findChild<QListWidget*>();
                          ASSERT_TRUE(columns);
                          EXPECT_EQ(columns->count(), 3);
                          const QRect third = columns->visualItemRect(columns->item(2));
                          QTest::mouseClick(columns->viewport(), Qt::LeftButton, {}, third.center());
                          SaveArtifact(*CWnd::FromHandle(w), QStringLiteral("recipients-236.png"));
                          Click(w, QStringLiteral("OK"));
                      });
    script.Start();
    Click(dialog.GetSafeHwnd(), QStringLiteral("Edit (bind)"));
    EXPECT_TRUE(QTest::qWaitFor([&script] { return script.Finished(); }));
    EXPECT_EQ(profile.FindColumn(110), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral(" 3   (Ann)"));
}

TEST_F(ImportDialogs, OtherDelimiterKeepsTheNewestCharacter)
{
    CDlgUserImportCsvDelimiter dialog(&main);
    ASSERT_TRUE(dialog.Create(IDD_USER_IMPORT_CSV_DELIMITER, &main));
    ASSERT_TRUE(ShowActive(dialog));
    Click(dialog.GetSafeHwnd(), QStringLiteral("Other:"));
    TypeOver(dialog.GetDlgItem(IDC_OTHER2)->GetSafeHwnd(), QStringLiteral("|#"));
    dialog.UpdateData(true);
    QChar delimiter;
    ASSERT_TRUE(dialog.GetDelimiter(delimiter));
    EXPECT_EQ(delimiter, u'#');
    dialog.m_other.clear();
    EXPECT_FALSE(dialog.GetDelimiter(delimiter));
}

TEST_F(ImportDialogs, SelectRecipientsRemovesTheUnticked)
{
    ndb::CNdbUserList users;
    users.AddUser(MakeUser(QStringLiteral("a@x.com"), QStringLiteral("Ann")));
    users.AddUser(MakeUser(QStringLiteral("b@x.com")));
    users.AddUser(MakeUser(QStringLiteral("c@x.com")));
    CDlgUserImportFilter dialog(users, &main);
    ModalScript script;
    script.ThenTitled(QStringLiteral("Select Recipients"),
                      [](QWidget* w)
                      {
                          QTreeWidget* list = ListOf(w);
                          EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("Ann"));
                          Click(w, QStringLiteral("Deselect All"));
                          // Ticks the second row by a click on its check box.
                          const QRect row = list->visualItemRect(list->topLevelItem(1));
                          QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                            QPoint(row.left() + 8, row.center().y()));
                          Click(w, QStringLiteral("Disable selected recipients"));
                          Click(w, QStringLiteral("Import Selected"));
                      });
    script.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(users.GetCount(), 1);
    EXPECT_EQ(users.GetUserAt(0)->GetString(ndb::UserEmail), QStringLiteral("b@x.com"));
    EXPECT_TRUE(dialog.IsDisableChosen());
}

TEST_F(ImportDialogs, AddDialogModes)
{
    {
        CDlgUserAdd dialog(CDlgUserAdd::ModeAdd, &main);
        ModalScript script;
        script.ThenTitled(QStringLiteral("Add recipient"),
                          [](QWidget* w)
                          {
                              CWnd* wnd = CWnd::FromHandle(w);
                              TypeOver(wnd->GetDlgItem(IDC_EMAIL)->GetSafeHwnd(),
                                       QStringLiteral("  new@x.com  "));
                              TypeOver(wnd->GetDlgItem(IDC_TITLE)->GetSafeHwnd(), QStringLiteral(" Dr "));
                              SaveArtifact(*wnd, QStringLiteral("recipients-213-mode0.png"));
                              Click(w, QStringLiteral("OK"));
                          });
        script.Start();
        EXPECT_EQ(dialog.DoModal(), IDOK);
        std::map<int, QString> fields;
        for (const auto& [id, value] : dialog.m_user.GetFields())
            fields[id] =
                value.GetType() == ndb::NdbValueBool ? QString::number(value.GetBool()) : value.GetString();
        EXPECT_EQ(fields, (std::map<int, QString>{
                              {110, "new@x.com"}, {120, " Dr "}, {700, "1"}, {800, "0"}, {900, "1"}}));
    }
    {
        CDlgUserAdd dialog(CDlgUserAdd::ModeEditSeveral, &main);
        dialog.m_user.SetField(ndb::UserLastName, ndb::CNdbFieldValue(QStringLiteral("Same")));
        dialog.m_user.SetField(ndb::UserColorLabel, ndb::CNdbFieldValue(ndb::NdbValueColorLabel, 2));
        ModalScript script;
        script.ThenTitled(QStringLiteral("Edit multiple recipient information"),
                          [](QWidget* w)
                          {
                              CWnd* wnd = CWnd::FromHandle(w);
                              EXPECT_FALSE(wnd->GetDlgItem(IDC_EMAIL)->IsWindowEnabled());
                              EXPECT_FALSE(wnd->GetDlgItem(IDC_BLOCK_RECIPIENT_CHECK)->IsWindowVisible());
                              TypeOver(wnd->GetDlgItem(IDC_FIRST)->GetSafeHwnd(), QStringLiteral("Eve"));
                              auto* color =
                                  qobject_cast<QComboBox*>(wnd->GetDlgItem(IDC_COLOR)->GetSafeHwnd());
                              EXPECT_EQ(color->currentText(), QStringLiteral("Purple"));
                              EXPECT_EQ(color->itemText(1), QStringLiteral("Blue"));
                              color->setFocus();
                              QTest::keyClick(color, Qt::Key_Home);
                              SaveArtifact(*wnd, QStringLiteral("recipients-213-mode2.png"));
                              Click(w, QStringLiteral("OK"));
                          });
        script.Start();
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_user.GetString(ndb::UserFirstName), QStringLiteral("Eve"));
        EXPECT_EQ(dialog.m_user.GetFields().find(ndb::UserLastName), dialog.m_user.GetFields().end());
        EXPECT_EQ(dialog.m_user.GetFields().find(ndb::UserEmail), dialog.m_user.GetFields().end());
        EXPECT_EQ(dialog.m_user.GetFields().find(ndb::UserColorLabel), dialog.m_user.GetFields().end());
        EXPECT_TRUE(dialog.IsColorApplied());
    }
    {
        CDlgUserAdd dialog(CDlgUserAdd::ModeEditTest, &main);
        dialog.m_user.SetField(ndb::UserBlocked, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
        dialog.m_user.SetField(ndb::UserEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
        ModalScript script;
        script.ThenTitled(QStringLiteral("Edit test recipient information"),
                          [](QWidget* w) { Click(w, QStringLiteral("OK")); });
        script.Start();
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_user.GetFields().find(ndb::UserBlocked), dialog.m_user.GetFields().end());
        EXPECT_TRUE(dialog.m_user.GetBool(ndb::UserEnabled, false));
    }
}

TEST_F(ImportDialogs, DocumentFilesAndAddressBookThroughTheImportCommand)
{
    QTemporaryDir folder;
    const QString newsletterPath = folder.filePath(QStringLiteral("source.kvnl"));
    const QString listPath = folder.filePath(QStringLiteral("source.kvmg"));
    {
        ndb::CNdbNewsletter newsletter;
        newsletter.Users().AddUser(MakeUser(QStringLiteral("from-newsletter@x.com"), QStringLiteral("Nel")));
        ASSERT_TRUE(newsletter.Save(newsletterPath, QStringLiteral("test"), 1, 0));
        ndb::CNdbMailGroup list;
        list.Users().AddUser(MakeUser(QStringLiteral("from-list@x.com")));
        ASSERT_TRUE(list.Save(listPath, QStringLiteral("test"), 1, 0));
    }
    struct Case
    {
        const char* source;
        QString path;
        QStringList added;
    };
    const Case cases[] = {
        {"Newsletter file (.kvnl)", newsletterPath, {"from-newsletter@x.com"}},
        {"Mailing List file (.kvmg)", listPath, {"from-list@x.com"}},
        {"Address book (vCard)",
         QStringLiteral(KV_TEST_DATA_DIR "/vcard/folder"),
         {"bob@brown.example", "anna@berg.example"}},
    };
    for (const Case& c : cases)
    {
        FakeUsersContext context;
        ndb::CNdbMailGroup& target = OpenMailingList(context);
        CWndUsers& window = MakeWindow(context, 1);
        const QString source = QString::fromLatin1(c.source);
        const QString path = c.path;
        ModalScript script;
        script
            .ThenTitled(QStringLiteral("Select Source"),
                        [source](QWidget* w)
                        {
                            Click(w, source);
                            Click(w, QStringLiteral("Import"));
                        })
            .Then(IsFileDialog, [path](QWidget* w) { ChooseFiles(w, {path}); })
            .ThenTitled(QStringLiteral("Select Recipients"),
                        [](QWidget* w) { Click(w, QStringLiteral("Import Selected")); });
        script.Start();
        Command(window, ID_RECIPIENTS_IMPORT);
        EXPECT_TRUE(script.Finished()) << c.source;
        QStringList addresses;
        for (const auto& user : target.Users().GetUsers())
            addresses << user->GetString(ndb::UserEmail);
        EXPECT_EQ(addresses, c.added) << c.source;
    }
}
