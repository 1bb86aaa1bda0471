#pragma once

#include "platform/ui/NestedWait.h"
#include "support/PageAnswer.h"

#include <QTest>
#include <QWebEngineView>

#include <gtest/gtest.h>

// A person's clicks into a web page. A person clicks what the page shows, so a click waits until
// the page has loaded with its pictures and painted frames: a picture that arrives late moves the
// text under the pointer.
namespace PageMouse
{
inline bool Answers(QWebEngineView* view, const QString& script)
{
    return PageAnswer(view->page(), script, 10000, QWebEngineScript::ApplicationWorld)
        .value_or(false)
        .toBool();
}

inline bool WaitUntilShown(QWebEngineView* view, int timeoutMs = 15000)
{
    const QString shown = QStringLiteral(
        "(function(){ if (document.readyState !== 'complete') return false;"
        " for (const i of document.images) if (!i.complete) return false;"
        " if (window.kvFrames === undefined) { window.kvFrames = 0;"
        "   requestAnimationFrame(() => requestAnimationFrame(() => { window.kvFrames = 2; })); }"
        " return window.kvFrames === 2; })()");
    return QTest::qWaitFor([&] { return Answers(view, shown); }, timeoutMs);
}

inline QWidget* InputWidget(QWebEngineView* view)
{
    return view->focusProxy() ? view->focusProxy() : view;
}

// Moves the pointer to the point of the page once it shows, clicks there and waits until the page
// has seen the button go up.
inline bool Click(QWebEngineView* view, const QPoint& point, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {})
{
    if (!WaitUntilShown(view))
    {
        ADD_FAILURE() << "the page never showed: " << view->url().toString().toStdString();
        return false;
    }
    if (CNestedWait::IsActive())
    {
        ADD_FAILURE() << "a click inside the program's wait for an answer is held until that wait ends";
        return false;
    }
    Answers(view,
            QStringLiteral("window.kvClickSeen = false; document.addEventListener('mouseup',"
                           " () => { window.kvClickSeen = true; }, {once: true, capture: true}); true"));
    QTest::mouseMove(InputWidget(view), point);
    QTest::mouseClick(InputWidget(view), button, modifiers, point);
    const bool seen =
        QTest::qWaitFor([&] { return Answers(view, QStringLiteral("window.kvClickSeen === true")); }, 10000);
    EXPECT_TRUE(seen) << "the page saw no click at " << point.x() << "," << point.y();
    return seen;
}
} // namespace PageMouse
