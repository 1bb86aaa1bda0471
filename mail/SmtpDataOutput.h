#pragma once

#include "mail/MailOutput.h"

class CMailSocket;

// Writes a message onto an SMTP connection between DATA and the end of data. A line that
// begins with "." gets a second one, so that no line of the message can end it early.
class CSmtpDataOutput : public CMailOutput
{
public:
    explicit CSmtpDataOutput(CMailSocket& socket) : m_socket(socket) {}

    void Write(const QString& text) override;

private:
    CMailSocket& m_socket;
    bool m_atLineStart{true};
};
