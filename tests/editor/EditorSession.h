#pragma once

#include "PageClicks.h"
#include "PageScript.h"
#include "app/ShellTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "editor/WndLayout.h"

#include <QWebEngineScript>
#include <QWebEngineView>

// The program running with a newsletter open in its layout editor, driven as a user drives it:
// clicks on the page, items of its context menu and of the menu bar, dialogs answered by steps.
class EditorSession : public ShellTest::ShellProgram
{
protected:
    // Starts the program, opens the newsletter file and switches to editing once the page shows
    // the text and every picture of it has loaded.
    CWndLayout& EditNewsletter(const QString& path, const QString& shownText)
    {
        CMainWnd& window = StartProgram();
        m_window = &window;
        window.MoveWindow(0, 0, 1000, 740);
        EXPECT_TRUE(window.OpenNewsletter(path));
        m_layout = &window.GetNewsletterView().GetLayout();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Body().contains(shownText); }, 30000));
        ShellTest::PressKey(window, Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(m_layout->IsEditing());
        EXPECT_TRUE(QTest::qWaitFor([&] { return PicturesLoaded(); }, 10000));
        return *m_layout;
    }

    CIEBrowser& Browser() { return m_layout->GetBrowser(); }
    QWidget* Page() { return Browser().GetSafeHwnd()->focusProxy(); }

    QString Body()
    {
        std::unique_ptr<CHtmlDocument> document;
        QString body;
        if (!Browser().GetDHtmlDocument(document) || !document->GetBodyInnerHtml(body, 1 << 20))
            return {};
        return body;
    }

    QStringList UndoTitles()
    {
        std::unique_ptr<CHtmlDocument> document;
        return Browser().GetDHtmlDocument(document) ? document->GetUndoTitles() : QStringList();
    }

    QVariant Run(const QString& script) { return RunInPage(Browser(), script); }

    // Every picture of the page has come and has its size.
    bool PicturesLoaded()
    {
        return Run(QStringLiteral(
                       "Array.from(document.images).every((i) => i.complete && i.naturalWidth > 0)"))
            .toBool();
    }

    // The centre of the first element the selector finds, in the page's coordinates.
    QPoint CentreOf(const QString& selector)
    {
        const QVariantList point =
            Run(QStringLiteral(
                    "(function () { const r = document.querySelector('%1').getBoundingClientRect();"
                    " return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)]; })()")
                    .arg(selector))
                .toList();
        return point.size() == 2 ? QPoint(point[0].toInt(), point[1].toInt()) : QPoint();
    }

    // The centre of the element once the page has laid it out there: the element under that
    // point is the element or inside it.
    QPoint SettledCentreOf(const QString& selector)
    {
        QPoint at;
        EXPECT_TRUE(QTest::qWaitFor(
            [&]
            {
                at = CentreOf(selector);
                return Run(QStringLiteral("(function () { const e = document.querySelector('%1');"
                                          " const hit = document.elementFromPoint(%2, %3);"
                                          " return !!hit && e.contains(hit); })()")
                               .arg(selector)
                               .arg(at.x())
                               .arg(at.y()))
                    .toBool();
            },
            10000))
            << selector.toStdString();
        return at;
    }

    // A left click on the element, then its context menu and the item in it; the steps answer
    // the dialogs the item opens.
    void UseContextItem(const QString& selector, const QString& item, DialogTest::ModalScript& script)
    {
        const QPoint at = SettledCentreOf(selector);
        // The page notes where its next button release lands: the click has been handled then.
        Run(QStringLiteral("window.kvReleasedOn = null; document.addEventListener('mouseup',"
                           " (e) => { window.kvReleasedOn = e.target; }, {capture: true, once: true});"));
        QTest::mouseClick(Page(), Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_TRUE(QTest::qWaitFor(
            [&]
            {
                return Run(QStringLiteral("!!window.kvReleasedOn &&"
                                          " document.querySelector('%1').contains(window.kvReleasedOn)")
                               .arg(selector))
                    .toBool();
            },
            10000))
            << selector.toStdString();
        // The item's command runs its dialogs before the menu's wait ends.
        bool closed = false;
        QTimer guard;
        CloseForgottenDialogs(guard, closed);
        script.Start();
        EXPECT_TRUE(ChooseContextItem(Browser(), at, item))
            << "no item " << item.toStdString() << " at " << at.x() << "," << at.y();
        FinishScript(script, closed);
    }

    void UseMenuItem(const QStringList& path, DialogTest::ModalScript& script)
    {
        script.Start();
        QTimer::singleShot(0, [this, path] { EXPECT_TRUE(ShellTest::ChooseMenuItem(*m_window, path)); });
        WaitForScript(script);
    }

    // Dialogs still open after a while are closed, so a wrong turn cannot hang the run; the flag
    // tells that it happened.
    static void CloseForgottenDialogs(QTimer& guard, bool& closed)
    {
        QObject::connect(&guard, &QTimer::timeout,
                         [&closed]
                         {
                             if (QWidget* modal = QApplication::activeModalWidget())
                             {
                                 ADD_FAILURE() << "left open: " << modal->windowTitle().toStdString();
                                 closed = true;
                                 // A message box that wants an answer ignores a plain close.
                                 if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandle(modal)))
                                     dialog->EndDialog(IDCANCEL);
                                 else
                                     modal->close();
                             }
                         });
        guard.start(20000);
    }

    static void WaitForScript(DialogTest::ModalScript& script)
    {
        bool closed = false;
        QTimer guard;
        CloseForgottenDialogs(guard, closed);
        FinishScript(script, closed);
    }

    // Waits until every step has run and no dialog is open, or a forgotten dialog was closed.
    static void FinishScript(const DialogTest::ModalScript& script, const bool& closed)
    {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return closed || (script.Finished() && !QApplication::activeModalWidget()); }, 30000));
        EXPECT_TRUE(script.Finished()) << "steps left: their dialogs never came or were not recognised";
    }

    CMainWnd* m_window = nullptr;
    CWndLayout* m_layout = nullptr;
};
