#include "mail/NtlmHelper.h"

#include "platform/net/NtlmMessages.h"
#include "platform/net/NtlmResponses.h"

bool CNtlmHelper::Init(const QString& domain, const QString& user, const QString& password)
{
    if (NtlmResponses::NtOwfV2(user, domain, password).isEmpty())
        return false;
    m_domain = domain;
    m_user = user;
    m_password = password;
    m_negotiated = false;
    return true;
}

bool CNtlmHelper::MakeToken(const QByteArray& input, int* done)
{
    if (input.isEmpty())
    {
        m_token = NtlmMessages::MakeNegotiate();
        m_negotiated = true;
        if (done)
            *done = 0;
        return true;
    }
    NtlmChallenge challenge;
    if (!m_negotiated || !NtlmMessages::ParseChallenge(input, &challenge))
        return false;
    const QByteArray clientChallenge = NtlmResponses::RandomClientChallenge();
    const QByteArray answer =
        clientChallenge.isEmpty()
            ? QByteArray()
            : NtlmMessages::MakeAuthenticate(challenge, m_domain, m_user, m_password, clientChallenge,
                                             NtlmResponses::CurrentFileTime());
    if (answer.isEmpty())
        return false;
    m_token = answer;
    if (done)
        *done = 1;
    return true;
}
