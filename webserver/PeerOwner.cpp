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
struct DiagRequest
{
    nlmsghdr header;
    inet_diag_req_v2 body;
};

// Asks the socket-diagnostics netlink service for the one socket whose own end is the peer's
// address and whose far end is ours. False when the service did not answer.
bool AskSocketDiag(const sockaddr_in& peer, const sockaddr_in& local, std::optional<uid_t>& owner)
{
    // One socket per thread for all its questions.
    struct NetlinkSocket
    {
        const int handle = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
        ~NetlinkSocket()
        {
            if (handle >= 0)
                close(handle);
        }
    };
    thread_local const NetlinkSocket netlinkSocket;
    const int netlink = netlinkSocket.handle;
    if (netlink < 0)
        return false;
    DiagRequest request{};
    request.header.nlmsg_len = sizeof(request);
    request.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    request.header.nlmsg_flags = NLM_F_REQUEST;
    thread_local unsigned sequence = 0;
    request.header.nlmsg_seq = ++sequence;
    request.body.sdiag_family = AF_INET;
    request.body.sdiag_protocol = IPPROTO_TCP;
    request.body.idiag_states = ~0U;
    request.body.id.idiag_sport = peer.sin_port;
    request.body.id.idiag_dport = local.sin_port;
    request.body.id.idiag_src[0] = peer.sin_addr.s_addr;
    request.body.id.idiag_dst[0] = local.sin_addr.s_addr;
    request.body.id.idiag_cookie[0] = INET_DIAG_NOCOOKIE;
    request.body.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;

    if (sendto(netlink, &request, sizeof(request), 0, reinterpret_cast<sockaddr*>(&kernel), sizeof(kernel)) !=
        static_cast<ssize_t>(sizeof(request)))
        return false;
    // The kernel answers while it takes the request, so the answer is normally there at once. An
    // answer to an earlier question that came too late is passed over.
    for (;;)
    {
        alignas(nlmsghdr) char answer[1024];
        ssize_t length = recv(netlink, answer, sizeof(answer), MSG_DONTWAIT);
        pollfd entry{netlink, POLLIN, 0};
        if (length < 0 && poll(&entry, 1, 1000) == 1)
            length = recv(netlink, answer, sizeof(answer), MSG_DONTWAIT);
        const auto* header = reinterpret_cast<const nlmsghdr*>(answer);
        if (length <= 0 || !NLMSG_OK(header, static_cast<unsigned>(length)))
            return false;
        if (header->nlmsg_seq != request.header.nlmsg_seq)
            continue;
        // An error message says that there is no such socket.
        if (header->nlmsg_type == NLMSG_ERROR)
            return true;
        if (header->nlmsg_type != SOCK_DIAG_BY_FAMILY ||
            header->nlmsg_len < NLMSG_LENGTH(sizeof(inet_diag_msg)))
            return false;
        const auto* found = static_cast<const inet_diag_msg*>(NLMSG_DATA(header));
        // A socket in TIME_WAIT no longer has an owner; the kernel reports 0 for it.
        if (found->idiag_state != TCP_TIME_WAIT)
            owner = found->idiag_uid;
        return true;
    }
}

// The TCP table under /proc, for a kernel without the netlink service: the line whose local
// address is the peer's and whose remote address is ours holds the owner in its eighth field.
std::optional<uid_t> OwnerFromProcTable(const sockaddr_in& peerAddress, const sockaddr_in& localAddress)
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
    const QByteArray peer = text(peerAddress);
    const QByteArray local = text(localAddress);
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

std::optional<uid_t> LoopbackPeerOwner(const sockaddr_in& peer, const sockaddr_in& local)
{
    std::optional<uid_t> owner;
    if (!AskSocketDiag(peer, local, owner))
        owner = OwnerFromProcTable(peer, local);
    return owner;
}
