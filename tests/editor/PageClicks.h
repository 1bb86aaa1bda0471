#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

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
