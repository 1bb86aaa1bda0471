#pragma once

#include "base/AnsiCodePage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Where a message is written piece by piece: the SMTP connection between DATA and the end of
// data, or any other stream. The message is never assembled in memory.
class CMailOutput
{
public:
    virtual ~CMailOutput() = default;
    virtual void Write(const QString& text) = 0;
    // Bytes of the message that are ready in the code page; an output that carries bytes
    // takes them without a conversion.
    virtual void WriteBytes(QByteArrayView bytes) { Write(AnsiCodePage::ToText(bytes.data(), bytes.size())); }
};

// Keeps what is written as bytes: a piece of a message prepared once and written many times.
class CMailBytesOutput : public CMailOutput
{
public:
    void Write(const QString& text) override { m_bytes += AnsiCodePage::FromText(text); }
    void WriteBytes(QByteArrayView bytes) override { m_bytes += bytes; }
    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
