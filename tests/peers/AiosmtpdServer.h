#pragma once

#include "peers/StoringSmtpServer.h"

#include <QStringList>

// aiosmtpd keeping every message as received, dots of the transparency rule taken out.
class AiosmtpdServer : public StoringSmtpServer
{
public:
    AiosmtpdServer();
    // Offers AUTH without TLS for one user over the mechanisms ("PLAIN", "LOGIN"; both when
    // none is named).
    AiosmtpdServer(const QString& user, const QString& password, const QStringList& mechanisms = {});
    QByteArrayList Messages() const override;

private:
    void Start(const QStringList& arguments);
};
