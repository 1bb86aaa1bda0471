#pragma once

#include <QByteArray>
#include <QString>

// What the client needs of a server's CHALLENGE message.
struct NtlmChallenge
{
    quint32 flags{0};
    QByteArray serverChallenge;
    // The target information pairs as the server sent them; the answer carries them back.
    QByteArray targetInfo;
    bool hasTimestamp{false};
    quint64 timestamp{0};
};

// The client's side of the NTLM messages: NEGOTIATE, the reading of CHALLENGE, and an
// AUTHENTICATE with an NTLMv2 response. No signing or sealing is negotiated.
namespace NtlmMessages
{
QByteArray MakeNegotiate();

// False for anything that is not a well-formed CHALLENGE: wrong signature or type, fields
// that point outside the message, or target information whose pairs overrun it.
bool ParseChallenge(const QByteArray& message, NtlmChallenge* challenge);

// The answer to the challenge for these credentials. clientChallenge (8 bytes) and time
// (100-nanosecond steps since 1601) are the client's own values; a timestamp from the server
// takes the place of time. Empty when the crypto library fails or a field would not fit.
QByteArray MakeAuthenticate(const NtlmChallenge& challenge, const QString& domain, const QString& user,
                            const QString& password, const QByteArray& clientChallenge, quint64 time);
} // namespace NtlmMessages
