#pragma once

#include <QByteArray>
#include <QString>

// The NTLMv2 computations of the client, over libcrypto. MD4 lives only in OpenSSL's legacy
// provider, so it is loaded into a library context of our own rather than the process default.
// Every operation gives an empty result when the crypto library cannot do its part.
namespace NtlmResponses
{
// HMAC-MD5 keyed with the MD4 of the password over the upper-cased user and the domain, both
// as UTF-16LE: the key of every NTLMv2 response.
QByteArray NtOwfV2(const QString& user, const QString& domain, const QString& password);

// The blob the client answers with: version, time, client challenge and the server's target
// information. time is in 100-nanosecond steps since 1601-01-01 UTC.
QByteArray MakeClientBlob(quint64 time, const QByteArray& clientChallenge, const QByteArray& targetInfo);

// The proof over the server challenge and the blob, followed by the blob.
QByteArray NtlmV2Response(const QByteArray& responseKey, const QByteArray& serverChallenge,
                          const QByteArray& clientBlob);

// The 24-byte LMv2 answer: proof over both challenges, then the client challenge.
QByteArray LmV2Response(const QByteArray& responseKey, const QByteArray& serverChallenge,
                        const QByteArray& clientChallenge);

QByteArray HmacMd5(const QByteArray& key, const QByteArray& data);

// Eight bytes from the system's strong random source; empty when it fails.
QByteArray RandomClientChallenge();

// Now, in the form MakeClientBlob takes.
quint64 CurrentFileTime();
} // namespace NtlmResponses
