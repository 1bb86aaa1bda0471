#pragma once

#include "ndb/NdbUser.h"

// One recipient of a send job. Statuses only move forward: 0 waiting, 1 in progress, then 2 sent,
// 3 failed or 4 deferred (the server answered 400 to 499).
struct SendQueueEntry
{
    enum Status
    {
        Waiting = 0,
        InProgress = 1,
        Sent = 2,
        Failed = 3,
        Deferred = 4,
        StatusCount
    };

    int status{Waiting};
    // A copy: a worker that outlasts the window that started it still reads a live record.
    ndb::CNdbUser recipient;
};
