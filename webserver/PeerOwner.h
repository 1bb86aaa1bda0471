#pragma once

#include <netinet/in.h>
#include <sys/types.h>

#include <optional>

// The account that owns the other end of a loopback TCP connection, given the peer's address
// and ours, as the kernel's socket tables know it; nullopt when it cannot be told (the peer
// has gone, for one).
std::optional<uid_t> LoopbackPeerOwner(const sockaddr_in& peer, const sockaddr_in& local);
