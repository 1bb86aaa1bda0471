#pragma once

#include "controls/KVImageButton.h"
#include "controls/ToolbarBase.h"
#include "dialogs/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <typeinfo>
#include <vector>

// Drives the program's toolbars as a person does: finds the buttons a person sees and clicks them
// with the mouse.
namespace ToolbarMouse
{
// A button a person sees on a toolbar. Dividers carry no command and are left out.
struct Button
{
    CToolbarBase* toolbar = nullptr;
    CKVImageButton* button = nullptr;
    UINT command = 0;

    QWidget* Widget() const { return button->GetSafeHwnd(); }
};

// The toolbars shown in the widget or below it.
inline std::vector<CToolbarBase*> VisibleToolbars(QWidget* root)
{
    std::vector<CToolbarBase*> toolbars;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets)
    {
        if (auto* toolbar = dynamic_cast<CToolbarBase*>(CWnd::FromHandle(widget));
            toolbar && widget->isVisible())
            toolbars.push_back(toolbar);
    }
    return toolbars;
}

// The toolbars shown in every window of the program.
inline std::vector<CToolbarBase*> AllVisibleToolbars()
{
    std::vector<CToolbarBase*> toolbars;
    for (QWidget* window : QApplication::topLevelWidgets())
    {
        if (!window->isVisible())
            continue;
        for (CToolbarBase* toolbar : VisibleToolbars(window))
            toolbars.push_back(toolbar);
    }
    return toolbars;
}

// The visible buttons of a toolbar, left to right and row by row as they are shown.
inline std::vector<Button> VisibleButtons(CToolbarBase& toolbar)
{
    std::vector<Button> buttons;
    for (const CToolbarItem& item : toolbar.GetItems())
    {
        auto* button = dynamic_cast<CKVImageButton*>(item.window.get());
        if (!button || !button->IsWindow() || !button->GetSafeHwnd()->isVisible() ||
            button->GetDlgCtrlID() == 0)
            continue;
        buttons.push_back({&toolbar, button, UINT(button->GetDlgCtrlID())});
    }
    return buttons;
}

// The visible button with the command on any shown toolbar; null when there is none.
inline CKVImageButton* FindButton(UINT command)
{
    for (CToolbarBase* toolbar : AllVisibleToolbars())
    {
        for (const Button& button : VisibleButtons(*toolbar))
        {
            if (button.command == command)
                return button.button;
        }
    }
    return nullptr;
}

// Waits for the state in a blocking event loop, as the program's own loop runs: unlike
// QTest::qWaitFor, which never lets the loop block, it lets the idle pass update the toolbars.
inline bool WaitInEventLoop(const std::function<bool()>& state, int timeoutMs)
{
    if (state())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         if (state())
                             loop.quit();
                     });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(20);
    loop.exec();
    return state();
}

// Moves the pointer onto the button and clicks it there, as a person does. A command that opens
// a modal window returns only when that window has closed.
inline void Click(CKVImageButton& button)
{
    QWidget* widget = button.GetSafeHwnd();
    const QPoint centre = widget->rect().center();
    QTest::mouseMove(widget, centre);
    QTest::mouseClick(widget, Qt::LeftButton, {}, centre);
}

// Clicks the visible button with the command; false when no toolbar shows it.
inline bool ClickCommand(UINT command)
{
    CKVImageButton* button = FindButton(command);
    if (!button)
        return false;
    Click(*button);
    return true;
}

// The windows that a click opens: every modal window that comes up while the click runs is noted
// and handed to the closer (Escape on its focus by default, as a person closes it). Pop-up and
// modeless windows that stay open afterwards are in NewWindows().
class OpenedWindows
{
public:
    OpenedWindows()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
        {
            if (window->isVisible())
                m_before.append(window);
        }
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(20);
    }

    // Titles (or class names, for windows without a title) of the modal windows, in order.
    QStringList modalTitles;
    std::function<void(QWidget*)> closer = [](QWidget* modal)
    {
        // A question that cannot be escaped is answered the harmless way, as a person would.
        for (const char* answer : {"Cancel", "No"})
        {
            if (DialogTest::ClickButton(modal, QLatin1String(answer)))
                return;
        }
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && modal->isAncestorOf(focus) ? focus : modal, Qt::Key_Escape);
    };

    std::vector<QWidget*> NewWindows() const
    {
        std::vector<QWidget*> windows;
        for (QWidget* window : QApplication::topLevelWidgets())
        {
            if (window->isVisible() && !m_before.contains(window))
                windows.push_back(window);
        }
        return windows;
    }

    static QString TitleOf(const QWidget* window)
    {
        return window->windowTitle().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                               : window->windowTitle();
    }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (modal == m_handled)
        {
            // A window the closer could not close would hang the test: fail it instead.
            if (m_handledAt.elapsed() > 5000)
            {
                ADD_FAILURE() << "the closer left " << TitleOf(modal).toStdString() << " open";
                modal->close();
                m_handledAt.restart();
            }
            return;
        }
        m_handled = modal;
        m_handledAt.start();
        modalTitles << TitleOf(modal);
        closer(modal);
    }

    QList<QPointer<QWidget>> m_before;
    QPointer<QWidget> m_handled;
    QElapsedTimer m_handledAt;
    QTimer m_timer;
};
} // namespace ToolbarMouse
