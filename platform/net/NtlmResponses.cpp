#include "platform/net/NtlmResponses.h"

#include <QDateTime>

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/provider.h>
#include <openssl/rand.h>

namespace
{
// A library context with the default and the legacy provider. Loading the legacy provider
// into the process-wide context would hand its weak algorithms to every other user of
// libcrypto in the program.
class CCryptoContext
{
public:
    static CCryptoContext& Get()
    {
        static CCryptoContext context;
        return context;
    }

    ~CCryptoContext()
    {
        EVP_MAC_free(m_hmac);
        EVP_MD_free(m_md4);
        if (m_legacy)
            OSSL_PROVIDER_unload(m_legacy);
        if (m_default)
            OSSL_PROVIDER_unload(m_default);
        OSSL_LIB_CTX_free(m_library);
    }

    const EVP_MD* Md4() const { return m_md4; }
    EVP_MAC* Hmac() const { return m_hmac; }

private:
    CCryptoContext()
    {
        m_library = OSSL_LIB_CTX_new();
        if (!m_library)
            return;
        m_default = OSSL_PROVIDER_load(m_library, "default");
        m_legacy = OSSL_PROVIDER_load(m_library, "legacy");
        m_md4 = EVP_MD_fetch(m_library, "MD4", nullptr);
        m_hmac = EVP_MAC_fetch(m_library, "HMAC", nullptr);
    }

    OSSL_LIB_CTX* m_library{nullptr};
    OSSL_PROVIDER* m_default{nullptr};
    OSSL_PROVIDER* m_legacy{nullptr};
    EVP_MD* m_md4{nullptr};
    EVP_MAC* m_hmac{nullptr};
};

QByteArray Md4(const QByteArray& data)
{
    const EVP_MD* md4 = CCryptoContext::Get().Md4();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!md4 ||
        EVP_Digest(data.constData(), static_cast<size_t>(data.size()), digest, &length, md4, nullptr) != 1)
        return {};
    return QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length));
}

QByteArray Utf16Le(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text)
    {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

void AppendLittleEndian(QByteArray& bytes, quint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}
} // namespace

namespace NtlmResponses
{
QByteArray HmacMd5(const QByteArray& key, const QByteArray& data)
{
    EVP_MAC* hmac = CCryptoContext::Get().Hmac();
    if (!hmac)
        return {};
    EVP_MAC_CTX* context = EVP_MAC_CTX_new(hmac);
    if (!context)
        return {};
    char digestName[] = "MD5";
    const OSSL_PARAM parameters[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digestName, 0),
                                     OSSL_PARAM_construct_end()};
    unsigned char mac[EVP_MAX_MD_SIZE];
    size_t length = 0;
    const bool done = EVP_MAC_init(context, reinterpret_cast<const unsigned char*>(key.constData()),
                                   static_cast<size_t>(key.size()), parameters) == 1 &&
                      EVP_MAC_update(context, reinterpret_cast<const unsigned char*>(data.constData()),
                                     static_cast<size_t>(data.size())) == 1 &&
                      EVP_MAC_final(context, mac, &length, sizeof(mac)) == 1;
    EVP_MAC_CTX_free(context);
    return done ? QByteArray(reinterpret_cast<const char*>(mac), static_cast<qsizetype>(length))
                : QByteArray();
}

QByteArray NtOwfV2(const QString& user, const QString& domain, const QString& password)
{
    const QByteArray passwordHash = Md4(Utf16Le(password));
    if (passwordHash.isEmpty())
        return {};
    return HmacMd5(passwordHash, Utf16Le(user.toUpper() + domain));
}

QByteArray MakeClientBlob(quint64 time, const QByteArray& clientChallenge, const QByteArray& targetInfo)
{
    QByteArray blob("\x01\x01\0\0\0\0\0\0", 8);
    AppendLittleEndian(blob, time, 8);
    blob += clientChallenge;
    blob += QByteArray(4, '\0');
    blob += targetInfo;
    blob += QByteArray(4, '\0');
    return blob;
}

QByteArray NtlmV2Response(const QByteArray& responseKey, const QByteArray& serverChallenge,
                          const QByteArray& clientBlob)
{
    const QByteArray proof = HmacMd5(responseKey, serverChallenge + clientBlob);
    return proof.isEmpty() ? QByteArray() : proof + clientBlob;
}

QByteArray LmV2Response(const QByteArray& responseKey, const QByteArray& serverChallenge,
                        const QByteArray& clientChallenge)
{
    const QByteArray proof = HmacMd5(responseKey, serverChallenge + clientChallenge);
    return proof.isEmpty() ? QByteArray() : proof + clientChallenge;
}

QByteArray RandomClientChallenge()
{
    QByteArray challenge(8, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(challenge.data()), static_cast<int>(challenge.size())) !=
        1)
        return {};
    return challenge;
}

quint64 CurrentFileTime()
{
    // 100-nanosecond steps between 1601-01-01 and 1970-01-01.
    constexpr quint64 UnixEpoch = 116444736000000000ULL;
    return UnixEpoch + static_cast<quint64>(QDateTime::currentMSecsSinceEpoch()) * 10000ULL;
}
} // namespace NtlmResponses
