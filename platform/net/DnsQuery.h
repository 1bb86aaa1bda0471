#pragma once

#include <QString>

#include <vector>

// DNS queries for direct mail delivery over the system's resolver library. Queries go to the
// name servers of the system's configuration unless a test points them at its own server.
namespace DnsQuery
{
enum class Status
{
    Ok,
    // The name exists but holds no record of the asked type.
    NoRecords,
    // The name does not exist.
    NameError,
    // No usable answer: time-out, server failure, refused query or a malformed reply.
    Failure,
};

struct MxRecord
{
    int preference{0};
    QString exchange;
};

// The MX records of the answer section in the order the reply lists them.
Status QueryMx(const QString& domain, std::vector<MxRecord>& records);
// The first IPv4 address of the host's answer (through CNAMEs) in dotted form; an address given
// as the host is returned as it is.
Status QueryIPv4Address(const QString& host, QString& address);

// Readers of a raw reply, as the queries use them: false for a reply that cannot be parsed.
bool ParseMxReply(const unsigned char* reply, int length, std::vector<MxRecord>& records);
bool ParseIPv4Reply(const unsigned char* reply, int length, QString& address);

// Sends every query from now on to one IPv4 name server, waiting the given seconds per try;
// an empty address returns to the system's configuration.
void SetNameServerForTesting(const QString& address, unsigned short port, int timeoutSeconds, int attempts);
} // namespace DnsQuery
