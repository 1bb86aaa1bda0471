#pragma once

#include "mailui/SendContext.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/WinApp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

// What the send status dialog needs of the program, for a newsletter of the test.
class CTestContext : public ISendContext
{
public:
    ndb::CNdbNewsletter* GetCurrentNewsletter() const override { return newsletter; }
    int GetServerPort() const override { return port; }
    const QString& GetUnsubscribeText() const override { return text; }

    ndb::CNdbNewsletter* newsletter{nullptr};
    int port{0};
    QString text{QStringLiteral("Unsubscribe")};
};

// Answers every message box at once and keeps its text.
class CRecordingApp : public CWinApp
{
public:
    int DoMessageBox(const QString& prompt, UINT, UINT) override
    {
        boxes << prompt;
        return IDOK;
    }
    QStringList boxes;
};

template <typename Done> bool WaitFor(Done done, int milliseconds = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}
