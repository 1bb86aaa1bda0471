#pragma once

#include <QCoreApplication>
#include <QTest>

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
