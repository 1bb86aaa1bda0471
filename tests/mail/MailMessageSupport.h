#pragma once

#include "base/AnsiCodePage.h"
#include "base/BlockingSocket.h"
#include "mail/MailOutput.h"
#include "mail/VexaMail.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Collects a written message as the bytes the connection would carry.
class CapturedOutput : public CMailOutput
{
public:
    void Write(const QString& text) override { bytes += AnsiCodePage::FromText(text); }
    void WriteBytes(QByteArrayView written) override { bytes += written; }

    QByteArray bytes;
};

// Writes a message straight onto a connection, keeping a copy of what went out.
class SocketOutput : public CMailOutput
{
public:
    explicit SocketOutput(CBlockingSocket& socket) : m_socket(socket) {}

    void Write(const QString& text) override { WriteBytes(AnsiCodePage::FromText(text)); }

    void WriteBytes(QByteArrayView bytes) override
    {
        m_socket.Write(bytes.data(), static_cast<int>(bytes.size()), 10);
        if (keepCopy)
            sent += bytes;
        written += bytes.size();
    }

    bool keepCopy{true};
    QByteArray sent;
    qint64 written{0};

private:
    CBlockingSocket& m_socket;
};

// One header line of a message with its continuation lines unfolded out.
struct HeaderLine
{
    QByteArray name;
    QByteArray value;
};

// The headers of the block that starts the bytes, up to the first empty line.
inline QList<HeaderLine> ReadHeaderBlock(const QByteArray& bytes)
{
    QList<HeaderLine> headers;
    const qsizetype end = bytes.indexOf("\r\n\r\n");
    for (const QByteArray& line : bytes.left(end).split('\n'))
    {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if ((text.startsWith(' ') || text.startsWith('\t')) && !headers.isEmpty())
            headers.last().value += "\r\n" + text;
        else
        {
            const qsizetype colon = text.indexOf(':');
            headers.append({text.left(colon), colon < 0 ? QByteArray() : text.mid(colon + 2)});
        }
    }
    return headers;
}

inline void WriteMessage(const CVexaMail& mail, CMailOutput& output, const QString& from,
                         const QString& fromName, const QString& to, const QString& subject, int importance,
                         const QString& seed)
{
    mail.WriteMessage(output, mail.BuildTopPart(from, fromName, to, subject, importance, seed), seed);
}

inline QByteArray BuildMessage(const CVexaMail& mail, const QString& from, const QString& fromName,
                               const QString& to, const QString& subject, int importance,
                               const QString& seed = QStringLiteral("_Part_1234ABC5678"))
{
    CapturedOutput output;
    WriteMessage(mail, output, from, fromName, to, subject, importance, seed);
    return output.bytes;
}
