#pragma once

#include "mail/MailOutput.h"

#include <QByteArray>

class CMailSocket;

// Writes a message onto an SMTP connection between DATA and the end of data. A line that
// begins with "." gets a second one, so that no line of the message can end it early. The bytes
// go out in large writes: many small ones would each wait for the peer's delayed
// acknowledgement.
class CSmtpDataOutput : public CMailOutput
{
public:
    explicit CSmtpDataOutput(CMailSocket& socket) : m_socket(socket) {}

    void Write(const QString& text) override;
    void WriteBytes(QByteArrayView bytes) override;
    // Sends what is still held back; call it before the end-of-data line.
    void Flush();

private:
    void Append(QByteArrayView piece);

    CMailSocket& m_socket;
    bool m_atLineStart{true};
    QByteArray m_pending;
};
