// Feeds arbitrary bytes to the reader of a server's NTLM CHALLENGE and answers what it accepts:
// the challenge and the target information come from the message, and the answer is an
// AUTHENTICATE that carries the target information back whole.

#include "platform/net/NtlmMessages.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray message =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    NtlmChallenge challenge;
    if (!NtlmMessages::ParseChallenge(message, &challenge))
        return 0;
    if (challenge.serverChallenge.size() != 8 || !message.contains(challenge.serverChallenge) ||
        !message.contains(challenge.targetInfo))
        std::abort();
    const QByteArray answer =
        NtlmMessages::MakeAuthenticate(challenge, QStringLiteral("DOMAIN"), QStringLiteral("user"),
                                       QStringLiteral("password"), QByteArray(8, '\xaa'), 0);
    if (!answer.startsWith(QByteArrayLiteral("NTLMSSP\0\x03\0\0\0")) ||
        !answer.contains(challenge.targetInfo))
        std::abort();
    return 0;
}
