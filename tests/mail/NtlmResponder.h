#pragma once

#include "platform/net/NtlmResponses.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>

// The server's half of NTLM for scripted servers: a fixed CHALLENGE, and a check that an
// AUTHENTICATE names the expected domain and account and proves the password.
struct NtlmResponder
{
    QString domain;
    QString account;
    QString password;

    static QByteArray ServerChallenge() { return QByteArray::fromHex("0123456789abcdef"); }

    static QByteArray Challenge()
    {
        return QByteArray::fromHex("4e544c4d53535000020000000c000c003800000033828ae20123456789abcdef"
                                   "00000000000000002400240044000000060070170000000f5300650072007600"
                                   "6500720002000c0044006f006d00610069006e0001000c005300650072007600"
                                   "6500720000000000");
    }

    static bool IsNegotiate(const QByteArray& message)
    {
        return message.size() >= 16 && message.startsWith(QByteArray("NTLMSSP\0\1\0\0\0", 12));
    }

    bool Verifies(const QByteArray& message) const
    {
        if (message.size() < 64 || !message.startsWith(QByteArray("NTLMSSP\0\3\0\0\0", 12)))
            return false;
        const QByteArray nt = Field(message, 20);
        const QByteArray key = NtlmResponses::NtOwfV2(account, domain, password);
        return Text(Field(message, 28)) == domain && Text(Field(message, 36)) == account && nt.size() > 16 &&
               NtlmResponses::HmacMd5(key, ServerChallenge() + nt.mid(16)) == nt.left(16);
    }

private:
    static QByteArray Field(const QByteArray& message, int descriptor)
    {
        const quint16 length = qFromLittleEndian<quint16>(message.constData() + descriptor);
        const quint32 offset = qFromLittleEndian<quint32>(message.constData() + descriptor + 4);
        return offset + length <= quint32(message.size()) ? message.mid(offset, length) : QByteArray();
    }

    static QString Text(const QByteArray& utf16)
    {
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(utf16.constData()), utf16.size() / 2);
    }
};
