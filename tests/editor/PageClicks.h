#pragma once

#include "platform/ui/IEBrowser.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>

// A double click as the web engine sees one: it counts presses itself and would take a
// double-click event for a third press.
inline void DoubleClick(QWidget* widget, const QPoint& point,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF local(point);
    const QPointF global(widget->mapToGlobal(point));
    // Far from every other click's time, so the engine pairs only these two presses.
    static ulong time = 50000000;
    time += 10000;
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
    {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, local, global, Qt::LeftButton, buttons, modifiers);
        event.setTimestamp(time += 20);
        QApplication::sendEvent(widget, &event);
    }
}

// The texts of the context menu the page asks for at the point ("-" for a separator); the menu is
// closed again, after the action, which sees it open.
inline QStringList ContextMenuAt(CIEBrowser& browser, const QPoint& point,
                                 const std::function<void(QMenu*)>& whileOpen = {},
                                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QStringList texts;
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         // The action may run a command that deletes the menu.
                         QPointer menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                         if (!menu || !menu->isVisible() || seen)
                             return;
                         seen = true;
                         for (QAction* action : menu->actions())
                             texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
                         if (whileOpen)
                             whileOpen(menu);
                         if (menu)
                             menu->close();
                     });
    poll.start(50);
    // A right click as the user makes it, on the engine's widget that takes the page's mouse.
    QTest::mouseClick(browser.GetSafeHwnd()->focusProxy(), Qt::RightButton, modifiers, point);
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen; }, 10000)) << "no context menu came up";
    return texts;
}

// A right click at the point and a click on the item of the context menu that comes up; false when
// no menu came up or it has no such item.
inline bool ChooseContextItem(CIEBrowser& browser, const QPoint& point, const QString& item)
{
    bool chosen = false;
    ContextMenuAt(browser, point,
                  [&](QMenu* menu)
                  {
                      for (QAction* action : menu->actions())
                      {
                          if (action->text() != item)
                              continue;
                          chosen = true;
                          QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                                            menu->actionGeometry(action).center());
                          return;
                      }
                  });
    return chosen;
}
