#pragma once

#include "platform/ui/Dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

#include <gtest/gtest.h>

namespace DialogTest
{
// Shows a modeless dialog and makes it the active window, so that its controls can hold the focus.
inline bool ShowActive(CDialog& dialog)
{
    dialog.ShowWindow(SW_SHOW);
    QWidget* window = dialog.GetSafeHwnd();
    window->activateWindow();
    return QTest::qWaitForWindowExposed(window) && QTest::qWaitForWindowActive(window);
}

inline QWidget* Widget(const CWnd* wnd)
{
    return wnd ? wnd->GetSafeHwnd() : nullptr;
}

// Gives a control the focus as a click of the user would, once its window is active.
inline bool Focus(QWidget* control)
{
    control->activateWindow();
    return QTest::qWaitFor(
        [control]
        {
            control->setFocus(Qt::MouseFocusReason);
            return control->hasFocus();
        });
}

// Gives a control the focus, selects its whole text and types the keys as the user would.
inline void TypeOver(QWidget* edit, const QString& keys)
{
    EXPECT_TRUE(Focus(edit));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, keys);
    QCoreApplication::processEvents();
}

inline void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& point,
                      Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(point), QPointF(widget->mapToGlobal(point)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A press at the first point, moves to the others and a release at the last.
inline void Drag(QWidget* widget, const std::vector<QPoint>& points)
{
    SendMouse(widget, QEvent::MouseButtonPress, points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        SendMouse(widget, QEvent::MouseMove, points[i]);
    SendMouse(widget, QEvent::MouseButtonRelease, points.back());
    QCoreApplication::processEvents();
}

inline QImage Grab(const CWnd& wnd)
{
    return wnd.GetSafeHwnd()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

inline QString ArtifactPath(const QString& name)
{
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    return QStringLiteral(KV_ARTIFACT_DIR "/") + name;
}

inline void SaveArtifact(const CWnd& wnd, const QString& name)
{
    Grab(wnd).save(ArtifactPath(name));
}

inline void WriteTextArtifact(const QString& name, const QString& text)
{
    QFile file(ArtifactPath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

// Runs the action once the next modal loop has started and the window it shows is active.
inline void WhenModal(std::function<void()> action)
{
    QTimer::singleShot(0,
                       [action = std::move(action)]
                       {
                           ASSERT_TRUE(
                               QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
                           EXPECT_TRUE(QTest::qWaitForWindowActive(QApplication::activeModalWidget()));
                           action();
                       });
}

// Runs the action once a modal window other than the current one has come up and is active:
// for a dialog that a modal window opens.
inline void WhenModalAfter(QWidget* current, std::function<void()> action)
{
    QTimer::singleShot(0,
                       [current, action = std::move(action)]
                       {
                           ASSERT_TRUE(QTest::qWaitFor(
                               [current]
                               {
                                   QWidget* modal = QApplication::activeModalWidget();
                                   return modal && modal != current;
                               }));
                           EXPECT_TRUE(QTest::qWaitForWindowActive(QApplication::activeModalWidget()));
                           action();
                       });
}
inline bool IsFileDialog(QWidget* window)
{
    return qobject_cast<QFileDialog*>(window) != nullptr;
}

// Types the paths into the file dialog's name field, each quoted when there are several.
inline void ChooseFiles(QWidget* window, const QStringList& paths)
{
    auto* dialog = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(dialog, nullptr);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    // While the name field lacks the focus, the dialog adds the file it proposed to the names
    // written there.
    ASSERT_TRUE(Focus(name));
    // Typed character by character, the completer's pop-up would take the Enter key.
    if (paths.size() == 1)
        name->setText(paths.constFirst());
    else
    {
        dialog->setDirectory(QFileInfo(paths.constFirst()).absolutePath());
        QStringList quoted;
        for (const QString& path : paths)
            quoted << u'"' + QFileInfo(path).fileName() + u'"';
        name->setText(quoted.join(u' '));
    }
    QTest::keyClick(name, Qt::Key_Return);
}

// Whether a window shows a label holding the text.
inline bool ShowsText(QWidget* window, const QString& text)
{
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(), [&](QLabel* l) { return l->text().contains(text); });
}

// A test for windows whose caption is the title.
inline std::function<bool(QWidget*)> Titled(const QString& title)
{
    return [title](QWidget* w) { return w->windowTitle() == title; };
}

// Clicks the button of the window whose caption, without its "&", is the text.
inline bool ClickButton(QWidget* window, const QString& caption)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
    {
        if (button->isVisible() && QString(button->text()).remove(QLatin1Char('&')) == caption)
        {
            QTest::mouseClick(button, Qt::LeftButton);
            return true;
        }
    }
    return false;
}

// Steps for modal windows that come up one after another, also inside each other: each step
// waits for an active modal window that its test accepts and that no earlier step handled, then
// acts on it. Windows are told apart by what they show, since one may reuse another's address.
class ModalScript
{
public:
    using Test = std::function<bool(QWidget*)>;
    using Step = std::function<void(QWidget*)>;

    ModalScript()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_sinceStep.start();
    }
    ModalScript& Then(Test accepts, Step step)
    {
        m_steps.push_back({std::move(accepts), std::move(step)});
        return *this;
    }
    ModalScript& ThenTitled(const QString& title, Step step) { return Then(Titled(title), std::move(step)); }
    ModalScript& ThenShowing(const QString& text, Step step)
    {
        return Then([text](QWidget* w) { return ShowsText(w, text); }, std::move(step));
    }
    // A step on a window that an earlier step handled already, once it is the active modal
    // window again: taken only a while after the previous step, so that a dialog that step
    // closed has left its own loop.
    ModalScript& ThenAgain(Test accepts, Step step)
    {
        m_steps.push_back({std::move(accepts), std::move(step), true});
        return *this;
    }
    void Start() { m_timer.start(); }
    bool Finished() const { return m_steps.empty(); }

private:
    struct Pending
    {
        Test accepts;
        Step step;
        bool again = false;
    };

    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (m_steps.empty() || !modal)
            return;
        // A window left on top when the modal window above it closed may not get the focus back.
        if (!modal->isActiveWindow())
        {
            modal->activateWindow();
            return;
        }
        const bool handled = std::any_of(m_handled.begin(), m_handled.end(),
                                         [modal](const QPointer<QWidget>& w) { return w == modal; });
        const Pending& next = m_steps.front();
        if (next.again ? m_sinceStep.elapsed() < SettleMs : handled)
            return;
        if (!next.accepts(modal))
            return;
        if (!handled)
            m_handled.append(modal);
        m_sinceStep.start();
        // A timer never fires again while its own call is under way, and a step may run a modal
        // loop in which later steps must be found: the step runs from a timer of its own.
        QTimer::singleShot(0,
                           [step = std::move(m_steps.front().step), window = QPointer<QWidget>(modal)]
                           {
                               if (window)
                                   step(window);
                           });
        m_steps.erase(m_steps.begin());
    }

    static constexpr int SettleMs = 60;

    std::vector<Pending> m_steps;
    QList<QPointer<QWidget>> m_handled;
    QTimer m_timer;
    QElapsedTimer m_sinceStep;
};
} // namespace DialogTest
