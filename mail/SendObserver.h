#pragma once

// What the send engine reports while it works. The engine calls from its worker threads, so an
// observer hands each report over to its own thread, as a window does by posting itself a message.
class ISendObserver
{
public:
    virtual ~ISendObserver() = default;

    // After every take of a queue entry, after every result and when a worker ends.
    virtual void SendProgressed() = 0;
    // During a throttle pause: paused with step 0 when it begins and step k / 5 every 500 ms,
    // not paused when it ends.
    virtual void SendPaused(bool paused, int step) = 0;
};
