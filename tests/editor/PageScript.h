#pragma once

#include "platform/ui/IEBrowser.h"

#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <gtest/gtest.h>

// Runs a script in the editing library's world of the control's page and waits for its value.
inline QVariant RunInPage(CIEBrowser& browser, const QString& script)
{
    auto* view = qobject_cast<QWebEngineView*>(browser.GetSafeHwnd());
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                [&](const QVariant& value)
                                {
                                    result = value;
                                    done = true;
                                });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000)) << script.toStdString();
    return result;
}
