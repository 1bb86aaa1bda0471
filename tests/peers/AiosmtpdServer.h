#pragma once

#include "peers/StoringSmtpServer.h"

#include <QStringList>

// aiosmtpd keeping every message as received, dots of the transparency rule taken out.
class AiosmtpdServer : public StoringSmtpServer
{
public:
    enum class Recipients
    {
        Accepted,
        Refused, // every RCPT TO answered 550, as a server that allows no relaying
    };

    explicit AiosmtpdServer(Recipients recipients = Recipients::Accepted);
    // Offers AUTH without TLS for one user over the mechanisms ("PLAIN", "LOGIN"; both when
    // none is named).
    AiosmtpdServer(const QString& user, const QString& password, const QStringList& mechanisms = {},
                   Recipients recipients = Recipients::Accepted);
    QByteArrayList Messages() const override;

private:
    void Start(const QStringList& arguments, Recipients recipients);
};
