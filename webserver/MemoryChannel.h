#pragma once

#include "webserver/HttpChannel.h"

#include <QByteArray>

// A connection whose peer sent the given bytes and then closed; what the exchange writes is
// appended to the output.
class CMemoryChannel : public CHttpChannel
{
public:
    CMemoryChannel(QByteArray input, QByteArray* output);

    char ReceiveByte(Deadline deadline) override;
    qsizetype ReceiveAll(char* buffer, qsizetype length, int seconds) override;
    void Write(const char* bytes, qsizetype length, int seconds) override;

    // How many of the peer's bytes were read.
    qsizetype Consumed() const { return m_position; }

private:
    QByteArray m_input;
    qsizetype m_position{0};
    QByteArray* m_output;
};
