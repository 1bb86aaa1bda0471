// Feeds arbitrary bytes to the reader of a server's NTLM CHALLENGE and answers what it accepts.

#include "platform/net/NtlmMessages.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    NtlmChallenge challenge;
    if (NtlmMessages::ParseChallenge(
            QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
            &challenge))
        NtlmMessages::MakeAuthenticate(challenge, QStringLiteral("DOMAIN"), QStringLiteral("user"),
                                       QStringLiteral("password"), QByteArray(8, '\xaa'), 0);
    return 0;
}
