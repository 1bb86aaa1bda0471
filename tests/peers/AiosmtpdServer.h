#pragma once

#include "peers/StoringSmtpServer.h"

// aiosmtpd keeping every message as received, dots of the transparency rule taken out.
class AiosmtpdServer : public StoringSmtpServer
{
public:
    AiosmtpdServer();
    QByteArrayList Messages() const override;
};
