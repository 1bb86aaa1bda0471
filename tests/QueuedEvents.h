#pragma once

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <memory>

// Waits until the events queued so far have been delivered: a call queued now runs after them. What
// an action left in the queue has had its effect by then, wanted or not.
inline void AwaitQueuedEvents()
{
    const auto reached = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        qApp, [reached] { *reached = true; }, Qt::QueuedConnection);
    EXPECT_TRUE(QTest::qWaitFor([&] { return *reached; }, 10000));
}

// Waits until a timer of that period, started now, has fired: a running timer of that period or a
// shorter one would have fired by then too.
inline void AwaitTimerPeriod(int milliseconds)
{
    QTimer later;
    later.setSingleShot(true);
    later.start(milliseconds);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !later.isActive(); }, 10000 + milliseconds));
}
