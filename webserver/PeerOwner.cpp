#include "webserver/PeerOwner.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
struct Endpoints
{
    sockaddr_in peer{};
    sockaddr_in local{};
};

std::optional<Endpoints> EndpointsOf(int handle)
{
    Endpoints endpoints;
    socklen_t peerLength = sizeof(endpoints.peer);
    socklen_t localLength = sizeof(endpoints.local);
    if (getpeername(handle, reinterpret_cast<sockaddr*>(&endpoints.peer), &peerLength) != 0 ||
        getsockname(handle, reinterpret_cast<sockaddr*>(&endpoints.local), &localLength) != 0 ||
        endpoints.peer.sin_family != AF_INET)
        return std::nullopt;
    return endpoints;
}

struct DiagRequest
{
    nlmsghdr header;
    inet_diag_req_v2 body;
};

// Asks the socket-diagnostics netlink service for the one socket whose own end is the peer's
// address and whose far end is ours. False when the service did not answer.
bool AskSocketDiag(const Endpoints& endpoints, std::optional<uid_t>& owner)
{
    const int netlink = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (netlink < 0)
        return false;
    DiagRequest request{};
    request.header.nlmsg_len = sizeof(request);
    request.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    request.header.nlmsg_flags = NLM_F_REQUEST;
    request.body.sdiag_family = AF_INET;
    request.body.sdiag_protocol = IPPROTO_TCP;
    request.body.idiag_states = ~0U;
    request.body.id.idiag_sport = endpoints.peer.sin_port;
    request.body.id.idiag_dport = endpoints.local.sin_port;
    request.body.id.idiag_src[0] = endpoints.peer.sin_addr.s_addr;
    request.body.id.idiag_dst[0] = endpoints.local.sin_addr.s_addr;
    request.body.id.idiag_cookie[0] = INET_DIAG_NOCOOKIE;
    request.body.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;

    bool answered = false;
    alignas(nlmsghdr) char answer[1024];
    pollfd entry{netlink, POLLIN, 0};
    if (sendto(netlink, &request, sizeof(request), 0, reinterpret_cast<sockaddr*>(&kernel), sizeof(kernel)) ==
            static_cast<ssize_t>(sizeof(request)) &&
        poll(&entry, 1, 1000) == 1)
    {
        const ssize_t length = recv(netlink, answer, sizeof(answer), 0);
        const auto* header = reinterpret_cast<const nlmsghdr*>(answer);
        if (length > 0 && NLMSG_OK(header, static_cast<unsigned>(length)))
        {
            // An error message says that there is no such socket.
            answered = header->nlmsg_type == NLMSG_ERROR;
            if (header->nlmsg_type == SOCK_DIAG_BY_FAMILY &&
                header->nlmsg_len >= NLMSG_LENGTH(sizeof(inet_diag_msg)))
            {
                answered = true;
                const auto* found = static_cast<const inet_diag_msg*>(NLMSG_DATA(header));
                // A socket in TIME_WAIT no longer has an owner; the kernel reports 0 for it.
                if (found->idiag_state != TCP_TIME_WAIT)
                    owner = found->idiag_uid;
            }
        }
    }
    close(netlink);
    return answered;
}

// The TCP table under /proc, for a kernel without the netlink service: the line whose local
// address is the peer's and whose remote address is ours holds the owner in its eighth field.
std::optional<uid_t> OwnerFromProcTable(const Endpoints& endpoints)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The kernel prints the address as the 32-bit number it stores, and the port in host order.
    const auto text = [](const sockaddr_in& address)
    {
        return QByteArray::number(address.sin_addr.s_addr, 16).toUpper().rightJustified(8, '0') + ':' +
               QByteArray::number(ntohs(address.sin_port), 16).toUpper().rightJustified(4, '0');
    };
    const QByteArray peer = text(endpoints.peer);
    const QByteArray local = text(endpoints.local);
    while (!table.atEnd())
    {
        const QList<QByteArray> fields = table.readLine().simplified().split(' ');
        if (fields.size() > 7 && fields.at(1) == peer && fields.at(2) == local)
        {
            bool ok = false;
            const uint owner = fields.at(7).toUInt(&ok);
            if (ok)
                return owner;
        }
    }
    return std::nullopt;
}
} // namespace

std::optional<uid_t> LoopbackPeerOwner(int connectionHandle)
{
    const std::optional<Endpoints> endpoints = EndpointsOf(connectionHandle);
    if (!endpoints)
        return std::nullopt;
    std::optional<uid_t> owner;
    if (!AskSocketDiag(*endpoints, owner))
        owner = OwnerFromProcTable(*endpoints);
    return owner;
}
