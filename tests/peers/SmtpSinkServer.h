#pragma once

#include "peers/StoringSmtpServer.h"

// Postfix's smtp-sink dumping every message to a file of its own.
class SmtpSinkServer : public StoringSmtpServer
{
public:
    SmtpSinkServer();
    // On another loopback address, at a port of the test's choice (0: a free one).
    SmtpSinkServer(const QString& host, int port);
    // Without the sink's own leading headers and its trailing empty line.
    QByteArrayList Messages() const override;
};
