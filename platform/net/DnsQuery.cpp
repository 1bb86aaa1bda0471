#include "platform/net/DnsQuery.h"

#include <QUrl>

#include <algorithm>
#include <arpa/inet.h>
#include <arpa/nameser.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <resolv.h>

namespace
{
struct NameServerOverride
{
    QString address;
    unsigned short port{53};
    int timeoutSeconds{0};
    int attempts{0};
};

std::mutex s_overrideMutex;
NameServerOverride s_override;

NameServerOverride CurrentOverride()
{
    const std::lock_guard lock(s_overrideMutex);
    return s_override;
}

// Only names the DNS can carry reach the resolver: an internationalised name goes out in its
// ASCII form, anything else (blanks, controls, escapes) is refused.
QByteArray QueryName(const QString& name)
{
    const QByteArray ace = QUrl::toAce(name.trimmed());
    if (ace.isEmpty() || ace.size() > 253)
        return {};
    for (const char c : ace)
    {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == '-' || c == '.' || c == '_';
        if (!allowed)
            return {};
    }
    return ace;
}

// One query on a private resolver state, so that worker threads never share one and a test's
// name server never leaks into another query.
DnsQuery::Status Query(const QString& name, int type, std::vector<unsigned char>& reply)
{
    const QByteArray queryName = QueryName(name);
    if (queryName.isEmpty())
        return DnsQuery::Status::NameError;
    struct __res_state state
    {
    };
    if (res_ninit(&state) != 0)
        return DnsQuery::Status::Failure;
    const NameServerOverride server = CurrentOverride();
    if (!server.address.isEmpty())
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(server.port);
        if (inet_pton(AF_INET, server.address.toLatin1().constData(), &address.sin_addr) != 1)
        {
            res_nclose(&state);
            return DnsQuery::Status::Failure;
        }
        state.nscount = 1;
        state.nsaddr_list[0] = address;
        state.retrans = server.timeoutSeconds;
        state.retry = server.attempts;
    }
    reply.assign(NS_MAXMSG, 0);
    const int length = res_nquery(&state, queryName.constData(), ns_c_in, type, reply.data(),
                                  static_cast<int>(reply.size()));
    const int error = state.res_h_errno;
    res_nclose(&state);
    if (length >= 0)
    {
        reply.resize(static_cast<size_t>(length));
        return DnsQuery::Status::Ok;
    }
    reply.clear();
    if (error == HOST_NOT_FOUND)
        return DnsQuery::Status::NameError;
    if (error == NO_DATA)
        return DnsQuery::Status::NoRecords;
    return DnsQuery::Status::Failure;
}

// Walks the answer section; visit gets each record and the message it belongs to and returns
// false for a record it cannot read.
template <typename Visit> bool ForEachAnswer(const unsigned char* reply, int length, Visit visit)
{
    if (!reply || length <= 0)
        return false;
    ns_msg message;
    if (ns_initparse(reply, length, &message) != 0)
        return false;
    const int count = ns_msg_count(message, ns_s_an);
    for (int i = 0; i < count; ++i)
    {
        ns_rr record;
        if (ns_parserr(&message, ns_s_an, i, &record) != 0)
            return false;
        if (ns_rr_class(record) == ns_c_in && !visit(message, record))
            return false;
    }
    return true;
}
} // namespace

namespace DnsQuery
{
bool ParseMxReply(const unsigned char* reply, int length, std::vector<MxRecord>& records)
{
    records.clear();
    const bool parsed = ForEachAnswer(
        reply, length,
        [&records](const ns_msg& message, const ns_rr& record)
        {
            if (ns_rr_type(record) != ns_t_mx)
                return true;
            if (ns_rr_rdlen(record) < 3)
                return false;
            const unsigned char* data = ns_rr_rdata(record);
            char name[NS_MAXDNAME];
            if (dn_expand(ns_msg_base(message), ns_msg_end(message), data + 2, name, sizeof(name)) < 0)
                return false;
            // The root as exchanger says the domain takes no mail at all.
            if (name[0] != '\0')
                records.push_back({static_cast<int>(ns_get16(data)), QString::fromLatin1(name)});
            return true;
        });
    if (!parsed)
        records.clear();
    return parsed;
}

bool ParseIPv4Reply(const unsigned char* reply, int length, QString& address)
{
    address.clear();
    const bool parsed = ForEachAnswer(reply, length,
                                      [&address](const ns_msg&, const ns_rr& record)
                                      {
                                          if (ns_rr_type(record) != ns_t_a || !address.isEmpty())
                                              return true;
                                          if (ns_rr_rdlen(record) != 4)
                                              return false;
                                          char text[INET_ADDRSTRLEN];
                                          if (!inet_ntop(AF_INET, ns_rr_rdata(record), text, sizeof(text)))
                                              return false;
                                          address = QString::fromLatin1(text);
                                          return true;
                                      });
    if (!parsed)
        address.clear();
    return parsed;
}

Status QueryMx(const QString& domain, std::vector<MxRecord>& records)
{
    records.clear();
    std::vector<unsigned char> reply;
    const Status status = Query(domain, ns_t_mx, reply);
    if (status != Status::Ok)
        return status;
    if (!ParseMxReply(reply.data(), static_cast<int>(reply.size()), records))
        return Status::Failure;
    return records.empty() ? Status::NoRecords : Status::Ok;
}

Status QueryIPv4Address(const QString& host, QString& address)
{
    address.clear();
    in_addr literal{};
    if (inet_pton(AF_INET, host.toLatin1().constData(), &literal) == 1)
    {
        address = host;
        return Status::Ok;
    }
    std::vector<unsigned char> reply;
    const Status status = Query(host, ns_t_a, reply);
    if (status != Status::Ok)
        return status;
    if (!ParseIPv4Reply(reply.data(), static_cast<int>(reply.size()), address))
        return Status::Failure;
    return address.isEmpty() ? Status::NoRecords : Status::Ok;
}

void SetNameServerForTesting(const QString& address, unsigned short port, int timeoutSeconds, int attempts)
{
    const std::lock_guard lock(s_overrideMutex);
    s_override = {address, port, std::max(1, timeoutSeconds), std::max(1, attempts)};
}
} // namespace DnsQuery
