#pragma once

#include <sys/types.h>

#include <optional>

// The account that owns the other end of an accepted loopback TCP connection, as the kernel's
// socket tables know it; nullopt when it cannot be told (the peer has gone, for one).
std::optional<uid_t> LoopbackPeerOwner(int connectionHandle);
