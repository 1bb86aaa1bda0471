#pragma once

#include "platform/ui/Dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
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

// Gives a control the focus, selects its whole text and types the keys as the user would.
inline void TypeOver(QWidget* edit, const QString& keys)
{
    edit->activateWindow();
    QTest::qWaitFor(
        [edit]
        {
            edit->setFocus(Qt::MouseFocusReason);
            return edit->hasFocus();
        });
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
                           QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; });
                           QTest::qWaitForWindowActive(QApplication::activeModalWidget());
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
                           QTest::qWaitFor(
                               [current]
                               {
                                   QWidget* modal = QApplication::activeModalWidget();
                                   return modal && modal != current;
                               });
                           QTest::qWaitForWindowActive(QApplication::activeModalWidget());
                           action();
                       });
}
} // namespace DialogTest
