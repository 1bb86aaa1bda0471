#pragma once

#include "platform/ui/IEBrowser.h"
#include "support/PageAnswer.h"

#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <gtest/gtest.h>

// Runs a script in the editing library's world of the control's page and waits for its value.
inline QVariant RunInPage(CIEBrowser& browser, const QString& script)
{
    auto* view = qobject_cast<QWebEngineView*>(browser.GetSafeHwnd());
    const std::optional<QVariant> answer =
        PageAnswer(view->page(), script, 10000, QWebEngineScript::ApplicationWorld);
    EXPECT_TRUE(answer.has_value()) << script.toStdString();
    return answer.value_or(QVariant());
}
