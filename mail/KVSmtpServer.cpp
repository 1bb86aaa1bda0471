#include "mail/KVSmtpServer.h"

#include "platform/net/DnsQuery.h"

#include <atomic>

namespace
{
std::atomic<int> s_directDeliveryPort{25};
} // namespace

bool CKVSmtpServer::LookUpMailExchanger(const QString& domain, QString& host)
{
    host = FindCachedMailExchanger(domain);
    if (!host.isEmpty())
        return true;
    std::vector<DnsQuery::MxRecord> records;
    if (DnsQuery::QueryMx(domain, records) != DnsQuery::Status::Ok)
        return false;
    std::map<int, QString> byPreference;
    for (const DnsQuery::MxRecord& record : records)
        byPreference[record.preference] = record.exchange;
    if (byPreference.empty())
        return false;
    QString address;
    if (DnsQuery::QueryIPv4Address(byPreference.begin()->second, address) != DnsQuery::Status::Ok)
        return false;
    host = address;
    StoreMailExchanger(domain, host);
    return true;
}

QString CKVSmtpServer::FindCachedMailExchanger(const QString& domain)
{
    const std::lock_guard lock(m_cacheMutex);
    const auto found = m_mailExchangers.find(domain);
    return found == m_mailExchangers.end() ? QString() : found->second;
}

void CKVSmtpServer::StoreMailExchanger(const QString& domain, const QString& host)
{
    const std::lock_guard lock(m_cacheMutex);
    m_mailExchangers[domain] = host;
}

int CKVSmtpServer::GetDirectDeliveryPort()
{
    return s_directDeliveryPort;
}

void CKVSmtpServer::SetDirectDeliveryPortForTesting(int port)
{
    s_directDeliveryPort = port;
}
