#pragma once

#include "platform/ui/IEBrowser.h"
#include "support/PageAnswer.h"

#include <QTest>
#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <gtest/gtest.h>
#include <memory>

// Runs a script in the editing library's world of the control's page and waits for its value.
inline QVariant RunInPage(CIEBrowser& browser, const QString& script)
{
    auto* view = qobject_cast<QWebEngineView*>(browser.GetSafeHwnd());
    const std::optional<QVariant> answer =
        PageAnswer(view->page(), script, 10000, QWebEngineScript::ApplicationWorld);
    EXPECT_TRUE(answer.has_value()) << script.toStdString();
    return answer.value_or(QVariant());
}

// Waits until the reports the page has made so far reached the control. A report travels behind
// an answer of the page and a timer of its own: an answer asked for now, and a timer started once
// it came, come after it.
inline void AwaitPageReports(CIEBrowser& browser)
{
    RunInPage(browser, QStringLiteral("0"));
    const auto passed = std::make_shared<bool>(false);
    QTimer::singleShot(1, [passed] { *passed = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return *passed; }, 10000));
}

// Runs a script that changes the selection, then waits until the control has the page's report
// of it, as a user's next action finds it.
inline void ChangeSelection(CIEBrowser& browser, const QString& script)
{
    RunInPage(browser, QStringLiteral("window.kvSelectionSeen = false; document.addEventListener("
                                      "'selectionchange', () => { window.kvSelectionSeen = true; }, "
                                      "{once: true}); ") +
                           script);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return RunInPage(browser, QStringLiteral("window.kvSelectionSeen")).toBool(); }, 10000))
        << "the selection did not change";
    AwaitPageReports(browser);
}

// Clicks the page at the point as a user does, then waits until the control has the page's reports
// of the click: the page has taken the click once it saw the button go up, and the selection it
// changed is reported by then.
inline void ClickAndAwaitReports(CIEBrowser& browser, const QPoint& point)
{
    RunInPage(browser, QStringLiteral("window.kvClickSeen = false; document.addEventListener('mouseup', () =>"
                                      " setTimeout(() => { window.kvClickSeen = true; }), {once: true});"));
    QTest::mouseClick(browser.GetSafeHwnd()->focusProxy(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return RunInPage(browser, QStringLiteral("window.kvClickSeen")).toBool(); }, 10000))
        << "the page saw no click";
    AwaitPageReports(browser);
}
