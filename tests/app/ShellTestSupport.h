#pragma once

#include "QueuedEvents.h"
#include "app/DlgMessageBox.h"
#include "app/KVContext.h"
#include "app/Kelvora.h"
#include "app/MainWnd.h"
#include "app/ShellHooks.h"
#include "base/AppSettings.h"
#include "base/ArchiveFile.h"
#include "controls/CommandIds.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbUser.h"
#include "platform/core/AppStrings.h"
#include "platform/core/SettingsStore.h"
#include "platform/ui/HtmlDocument.h"
#include "x2/X2TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <gtest/gtest.h>

namespace ShellTest
{
inline const QString LetterText = QStringLiteral("Harbour lights are back this spring");

// A newsletter file whose page holds the text.
inline bool WriteNewsletter(const QString& path, const QString& name, const QString& text = LetterText)
{
    ndb::CNdbNewsletter newsletter(name);
    newsletter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    newsletter.Layout().SetField(ndb::LayoutHtml,
                                 ndb::CNdbFieldValue(QStringLiteral("<h1>%1</h1><p>%2</p>").arg(name, text)));
    return newsletter.Save(path, QStringLiteral("Kelvora"), 2007, 1);
}

// The header of a document file.
inline ArchiveFileHeader HeaderOf(const QString& path)
{
    ArchiveFileHeader header;
    ReadArchiveFile(
        path,
        [&](const ArchiveFileHeader& read)
        {
            header = read;
            return false;
        },
        [](CPSArchive&) {});
    return header;
}

// A mailing-list file with one recipient per address.
inline bool WriteMailingList(const QString& path, const QString& name, const QStringList& addresses)
{
    ndb::CNdbMailGroup list(name);
    list.SetField(ndb::MailGroupId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    for (const QString& address : addresses)
    {
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
        list.Users().AddUser(std::move(user));
    }
    return list.Save(path, QStringLiteral("Kelvora"), 2007, 1);
}

// An item of a menu as a user sees it when the menu opens.
struct MenuItemState
{
    QString text;
    bool enabled;
    bool checked;
};

// Answers the modal windows the program opens while a test acts, in order, as a user would: a
// message box by clicking the button with the caption, a file dialog by typing the path into its
// name field and pressing Enter (an empty path cancels it). A window nobody expected fails the
// test and is closed, so that a wrong turn cannot hang the run.
class ModalAnswers
{
public:
    ModalAnswers()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(20);
    }
    ~ModalAnswers() { EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " modal windows never came"; }

    ModalAnswers& Box(const QString& caption)
    {
        m_answers.push_back({Kind::Box, caption});
        return *this;
    }
    ModalAnswers& File(const QString& path)
    {
        m_answers.push_back({Kind::File, path});
        return *this;
    }
    // Any other modal window, closed with Escape.
    ModalAnswers& Escape()
    {
        m_answers.push_back({Kind::Escape, {}});
        return *this;
    }
    // A pop-up menu: the item with the text is clicked.
    ModalAnswers& Menu(const QString& item)
    {
        m_answers.push_back({Kind::Menu, item});
        return *this;
    }
    bool Done() const { return m_answers.empty(); }

    QStringList boxTexts;
    // The items of the last pop-up menu answered.
    std::vector<MenuItemState> popupItems;

private:
    enum class Kind
    {
        Box,
        File,
        Menu,
        Escape,
    };
    struct Answer
    {
        Kind kind;
        QString text;
    };

    bool ChooseFromPopup()
    {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!popup || m_answers.empty() || m_answers.front().kind != Kind::Menu || !popup->isVisible())
            return false;
        const QString item = m_answers.front().text;
        m_answers.pop_front();
        popupItems.clear();
        for (QAction* action : popup->actions())
        {
            if (!action->isSeparator())
                popupItems.push_back({action->text(), action->isEnabled(), action->isChecked()});
        }
        for (QAction* action : popup->actions())
        {
            if (action->text() == item && action->isEnabled())
            {
                QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(action).center());
                return true;
            }
        }
        ADD_FAILURE() << "no item " << item.toStdString() << " to choose";
        popup->close();
        return true;
    }

    void Poll()
    {
        if (ChooseFromPopup())
            return;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last || !modal->isVisible())
            return;
        // A file dialog applies its first selection a moment after it shows; typing before
        // that would be overwritten.
        if (modal != m_seen)
        {
            m_seen = modal;
            m_seenAt.start();
        }
        if (qobject_cast<QFileDialog*>(modal) && m_seenAt.elapsed() < 200)
            return;
        m_last = modal;
        auto* box = dynamic_cast<CDlgMessageBox*>(CWnd::FromHandle(modal));
        auto* fileDialog = qobject_cast<QFileDialog*>(modal);
        if (box)
            boxTexts << box->m_text;
        if (!m_answers.empty() && m_answers.front().kind == Kind::Escape)
        {
            m_answers.pop_front();
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : modal,
                            Qt::Key_Escape);
            return;
        }
        const Kind expected = box ? Kind::Box : Kind::File;
        if (m_answers.empty() || m_answers.front().kind != expected || (!box && !fileDialog))
        {
            ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className() << " "
                          << (box ? box->m_text.toStdString() : modal->windowTitle().toStdString());
            if (box)
                box->EndDialog(IDCANCEL);
            else
                QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
            return;
        }
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        if (box)
        {
            for (QPushButton* button : modal->findChildren<QPushButton*>())
            {
                if (button->isVisible() && button->text() == answer.text)
                {
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
            }
            ADD_FAILURE() << "no button " << answer.text.toStdString() << " on " << box->m_text.toStdString();
            box->EndDialog(IDCANCEL);
            return;
        }
        if (answer.text.isEmpty())
        {
            fileDialog->reject();
            return;
        }
        auto* name = fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(answer.text);
        QTest::keyClick(name, Qt::Key_Return);
    }

    QTimer m_timer;
    std::deque<Answer> m_answers;
    QPointer<QWidget> m_last;
    QPointer<QWidget> m_seen;
    QElapsedTimer m_seenAt;
};

// A key pressed as a user presses it: it goes to the widget with the focus, or to the window
// when nothing in it has the focus.
inline void PressKey(CWnd& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus && window.GetSafeHwnd()->isAncestorOf(focus) ? focus : window.GetSafeHwnd();
    QTest::keyClick(target, key, modifiers);
}

// Opens the menus of the window's menu bar along the texts and clicks the last one.
inline bool ChooseMenuItem(CWnd& window, const QStringList& texts)
{
    auto* bar = window.GetSafeHwnd()->findChild<QMenuBar*>();
    if (!bar)
        return false;
    QMenu* menu = nullptr;
    for (QAction* action : bar->actions())
    {
        if (action->text() == texts.first())
            menu = action->menu();
    }
    if (!menu)
        return false;
    menu->popup(bar->mapToGlobal(QPoint(0, bar->height())));
    if (!QTest::qWaitForWindowExposed(menu))
        return false;
    for (qsizetype i = 1; i < texts.size(); ++i)
    {
        QAction* found = nullptr;
        for (QAction* action : menu->actions())
        {
            if (action->text() == texts[i])
                found = action;
        }
        if (!found || !found->isEnabled())
        {
            menu->close();
            return false;
        }
        if (i + 1 < texts.size())
        {
            menu->setActiveAction(found);
            QTest::keyClick(menu, Qt::Key_Right);
            menu = found->menu();
            if (!menu || !QTest::qWaitForWindowExposed(menu))
                return false;
            continue;
        }
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(found).center());
    }
    return true;
}

inline std::vector<MenuItemState> OpenMenuItems(CWnd& window, const QString& title)
{
    std::vector<MenuItemState> items;
    auto* bar = window.GetSafeHwnd()->findChild<QMenuBar*>();
    for (QAction* action : bar->actions())
    {
        if (action->text() != title || !action->menu())
            continue;
        QMenu* menu = action->menu();
        menu->popup(bar->mapToGlobal(QPoint(0, bar->height())));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
        for (QAction* item : menu->actions())
        {
            if (!item->isSeparator())
                items.push_back({item->text(), item->isEnabled(), item->isChecked()});
        }
        menu->close();
    }
    return items;
}

inline MenuItemState FindMenuItem(CWnd& window, const QString& title, const QString& text)
{
    for (const MenuItemState& item : OpenMenuItems(window, title))
    {
        if (item.text == text)
            return item;
    }
    ADD_FAILURE() << "no item " << text.toStdString();
    return {};
}

// The markup of the page's body as the browser holds it now; empty while there is none.
inline QString PageBody(CIEBrowser& browser)
{
    std::unique_ptr<CHtmlDocument> document;
    QString body;
    if (!browser.GetDHtmlDocument(document) || !document->GetBodyInnerHtml(body, 1 << 20))
        return {};
    return body;
}

// The text of the page the newsletter view shows, once it has loaded; empty when it did not.
inline QString ShownPageText(CMainWnd& window)
{
    QString text;
    const bool loaded = QTest::qWaitFor(
        [&] { return !(text = PageBody(window.GetNewsletterView().GetLayout().GetBrowser())).isEmpty(); },
        60000);
    return loaded ? text : QString();
}

// A program of its own for each test: settings, shortcut store and documents in a temporary
// folder, the update check off, and the application object started as the program starts it.
class ShellProgram : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        CSettingsStore::SetLocations(Path(QStringLiteral("user")), Path(QStringLiteral("machine")));
        InitAppPaths();
        // The data folder of the sources: the layout editor reads the spam words from it. The
        // settings key is known once the paths were read.
        WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("SystemPath"),
                              QStringLiteral(KV_SOURCE_DIR "/data/"));
        InitAppPaths();
        QDir().mkpath(Path(QStringLiteral("store")));
        QDir().mkpath(Path(QStringLiteral("documents")));
        WriteAppSettingString(HKEY_CURRENT_USER, QStringLiteral("ShortcutsFullPath"),
                              Path(QStringLiteral("store")));
        ShellHooks::Get() = ShellHooks();
    }
    // A data folder of the test's own, with the spam words the layout editor reads at start.
    void UseOwnDataFolder()
    {
        QDir().mkpath(Path(QStringLiteral("data/spamdb")));
        QFile::copy(QStringLiteral(KV_SOURCE_DIR "/data/spamdb/spamdb.dat"),
                    Path(QStringLiteral("data/spamdb/spamdb.dat")));
        WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("SystemPath"), Path(QStringLiteral("data")));
    }
    void TearDown() override
    {
        StopProgram();
        ShellHooks::Get() = ShellHooks();
        UseBuiltInResources();
        CSettingsStore::SetLocations({}, {});
    }

    QString Path(const QString& name) const { return m_home.filePath(name); }
    QString Document(const QString& name) const { return Path(QStringLiteral("documents/") + name); }

    // The application object as the program makes it, its program file in the temporary folder.
    CKelvora& MakeProgram()
    {
        m_app = std::make_unique<CKelvora>();
        m_app->m_programFile = Path(QStringLiteral("program/kelvora"));
        QDir().mkpath(Path(QStringLiteral("program")));
        m_app->m_fileAttempts = 2;
        m_app->m_filePauseMs = 10;
        return *m_app;
    }
    // Starts the program and waits until its main window is up and the end of the splash has led
    // to the Intro Menu or to the document named on the command line.
    CMainWnd& StartProgram()
    {
        CKelvora& app = m_app ? *m_app : MakeProgram();
        const auto introMenu = ShellHooks::Get().runIntroMenu;
        bool introMenuRan = false;
        ShellHooks::Get().runIntroMenu = [&introMenuRan, introMenu](CKVContext* context, CWnd* parent)
        {
            introMenuRan = true;
            return introMenu(context, parent);
        };
        EXPECT_TRUE(app.InitInstance());
        CMainWnd* window = app.GetMainWnd();
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window->GetSafeHwnd()));
        // The splash's time runs out at once: the tests need not wait for it.
        if (CWndSplash* splash = window->GetSplash(); splash && splash->IsWindow())
            splash->SendMessage(WM_TIMER, CWndSplash::TimerId);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return introMenuRan || app.GetContext()->GetCurrentDocument() != nullptr; }, 30000));
        ShellHooks::Get().runIntroMenu = introMenu;
        return *window;
    }
    void StopProgram()
    {
        if (!m_app)
            return;
        m_app->ExitInstance();
        m_app.reset();
    }

    QTemporaryDir m_home;
    std::unique_ptr<CKelvora> m_app;
};
} // namespace ShellTest
