#pragma once

#include <QString>

// Where a message is written piece by piece: the SMTP connection between DATA and the end of
// data, or any other stream. The message is never assembled in memory.
class CMailOutput
{
public:
    virtual ~CMailOutput() = default;
    virtual void Write(const QString& text) = 0;
};
