#pragma once

#include "ShellTestSupport.h"

#include "app/DlgNewsletterCreate.h"
#include "platform/ui/NestedWait.h"
#include "support/PageAnswer.h"
#include "support/PageMouse.h"
#include "support/ScriptedHttpServer.h"

#include <QAbstractButton>
#include <QWebEngineView>

#include <functional>
#include <memory>

// Steps of a user in the Create Newsletter dialog: clicks into its pages and on its buttons, and
// the answer to a message box that comes up inside the dialog's own loop.
namespace ShellTest
{
inline QVariant RunScript(CIEBrowser& browser, const QString& script)
{
    auto* view = qobject_cast<QWebEngineView*>(browser.GetSafeHwnd());
    return PageAnswer(view->page(), script).value_or(QVariant());
}

// Clicks the middle of the page element as a user does, once the page shows it.
inline bool ClickElement(CIEBrowser& browser, const QString& id)
{
    auto* view = qobject_cast<QWebEngineView*>(browser.GetSafeHwnd());
    if (!PageMouse::WaitUntilShown(view))
        return false;
    const QString script =
        QStringLiteral("(function(){var e=document.getElementById('%1'); if(!e) return null;"
                       "var r=e.getBoundingClientRect(); return [r.left+r.width/2, r.top+r.height/2];})()")
            .arg(id);
    const QList<QVariant> xy = RunScript(browser, script).toList();
    return xy.size() == 2 && PageMouse::Click(view, QPoint(int(xy[0].toDouble()), int(xy[1].toDouble())));
}

inline void ClickButton(CWnd& dialog, int id)
{
    QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id)->GetSafeHwnd()), Qt::LeftButton);
}

inline void ClickTab(CDlgNewsletterCreate& dialog, UINT command)
{
    CKVTabButtonList& tabs = dialog.GetTabStrip();
    for (int i = 0; i < tabs.GetTabCount(); ++i)
    {
        if (tabs.GetTab(i)->commandId == command)
            QTest::mouseClick(tabs.GetSafeHwnd(), Qt::LeftButton, {},
                              tabs.GetTab(i)->rect.ToQRect().center());
    }
}

inline void SavePicture(CWnd& window, const char* name)
{
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    window.GetSafeHwnd()->grab().save(QStringLiteral(KV_ARTIFACT_DIR "/") + QLatin1String(name));
}

// Runs the steps once a modal window of the kind is up: the steps then run inside its own loop.
// The window is looked for by polling, so that the steps never wait in a loop beneath the one
// that opens it. Nor do they start inside the program's wait for an answer (a window behind the
// dialog may still be loading its page): that wait holds every click and key until it ends, and
// it cannot end before the steps return. The search ends with the returned timer, so it never
// reaches into a later test.
template <class Window> [[nodiscard]] std::unique_ptr<QTimer> WhenModal(std::function<void(Window&)> steps)
{
    auto poll = std::make_unique<QTimer>();
    QObject::connect(poll.get(), &QTimer::timeout,
                     [timer = poll.get(), steps]
                     {
                         if (CNestedWait::IsActive())
                             return;
                         auto* window =
                             dynamic_cast<Window*>(CWnd::FromHandle(QApplication::activeModalWidget()));
                         if (!window || !window->GetSafeHwnd()->isVisible())
                             return;
                         timer->stop();
                         steps(*window);
                     });
    poll->start(50);
    return poll;
}

// Ends every modal window still open when the time is up, so that a step that went wrong fails
// the test instead of hanging it.
class ModalWatchdog
{
public:
    explicit ModalWatchdog(int milliseconds)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { EndOpenWindow(); });
        m_timer.start(milliseconds);
    }

private:
    void EndOpenWindow()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        ADD_FAILURE() << "a modal window was still open: " << modal->windowTitle().toStdString();
        if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandle(modal)))
            dialog->EndDialog(IDCANCEL);
        else
            modal->close();
        m_timer.start(200);
    }

    QTimer m_timer;
};

// A program whose gallery offers the template library installed with it and nothing else: no
// own templates, and the template store down. New newsletters go to the documents folder.
class InstalledLibraryProgram : public ShellProgram
{
protected:
    void SetUp() override
    {
        ShellProgram::SetUp();
        WriteAppSettingString(HKEY_CURRENT_USER, "SavePath_Create", Path("documents/"));
        WriteAppSettingString(HKEY_CURRENT_USER, "ConceptTemplatesCustomPath", Path("custom"));
        WriteAppSettingString(HKEY_LOCAL_MACHINE, "StoreAddress", m_store.Url(""));
        m_store.SetReply("/kv/ct.asp", "", 503);
        InitAppPaths();
    }

    ScriptedHttpServer m_store;
};

// Answers the message box that the next step brings up, from inside its own loop.
inline void AnswerNextBox(QStringList& texts, int button)
{
    QTimer::singleShot(300,
                       [&texts, button]
                       {
                           auto* box = dynamic_cast<CDlgMessageBox*>(
                               CWnd::FromHandle(QApplication::activeModalWidget()));
                           if (!box)
                               return;
                           texts << box->m_text;
                           box->EndDialog(button);
                       });
}
} // namespace ShellTest
