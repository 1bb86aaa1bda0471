#pragma once

#include <QString>

#include <map>
#include <mutex>

// The send engine: delivers one merged copy of a message to every recipient, directly to each
// recipient's mail exchanger or through a relay.
class CKVSmtpServer
{
public:
    CKVSmtpServer() = default;
    virtual ~CKVSmtpServer() = default;

    CKVSmtpServer(const CKVSmtpServer&) = delete;
    CKVSmtpServer& operator=(const CKVSmtpServer&) = delete;

    // The address to deliver the domain's mail to: the IPv4 address of its most preferred mail
    // exchanger (of equal preferences the one listed last), looked up through the same name
    // servers as the MX records. False when the domain has no MX record or a query fails;
    // only found exchangers are remembered.
    bool LookUpMailExchanger(const QString& domain, QString& host);
    QString FindCachedMailExchanger(const QString& domain);
    void StoreMailExchanger(const QString& domain, const QString& host);

    // Direct delivery talks to port 25; only tests move it to a server of their own.
    static int GetDirectDeliveryPort();
    static void SetDirectDeliveryPortForTesting(int port);

private:
    std::map<QString, QString> m_mailExchangers;
    std::mutex m_cacheMutex;
};
