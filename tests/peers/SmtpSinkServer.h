#pragma once

#include "peers/StoringSmtpServer.h"

// Postfix's smtp-sink dumping every message to a file of its own.
class SmtpSinkServer : public StoringSmtpServer
{
public:
    SmtpSinkServer();
    // Without the sink's own leading headers and its trailing empty line.
    QByteArrayList Messages() const override;
};
