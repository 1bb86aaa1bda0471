#pragma once

#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>
#include <optional>

// Runs the script in the page and waits for its answer; nothing when the page did not answer in
// time. A busy page may answer after the wait gave up: the answer then lands in state the
// callback shares, never in the frame of a caller that has returned.
inline std::optional<QVariant> PageAnswer(QWebEnginePage* page, const QString& script, int timeoutMs = 10000,
                                          quint32 world = QWebEngineScript::MainWorld)
{
    struct Answer
    {
        bool done = false;
        QVariant value;
    };
    auto answer = std::make_shared<Answer>();
    page->runJavaScript(script, world,
                        [answer](const QVariant& value)
                        {
                            answer->value = value;
                            answer->done = true;
                        });
    if (!QTest::qWaitFor([&] { return answer->done; }, timeoutMs))
        return std::nullopt;
    return answer->value;
}
