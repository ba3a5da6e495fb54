#pragma once

#include <cstdint>
#include <limits>

namespace Thermolyx {

// How long the internet client waits, and how much a fetch takes, before it gives up.
struct FetchLimits {
    // A server that is up answers a connection in well under a second; five seconds
    // leave room for a slow network without holding the worker long when it is down.
    std::uint32_t connectTimeoutMs = 5'000;
    std::uint32_t sendTimeoutMs = 15'000;
    // Per read: long enough for a busy server or proxy to start answering, short
    // enough that a server which stops sending frees the worker within a minute.
    std::uint32_t receiveTimeoutMs = 30'000;
    // Texts are version files and signatures: a few bytes, read whole within this time,
    // so a server that trickles them cannot hold the worker read after read.
    std::uint32_t textBytes = 64;
    std::uint32_t textDeadlineMs = 60'000;
    // A body longer than this is refused before it fills the disk.
    std::uint64_t fileBytes = std::numeric_limits<std::uint64_t>::max();
};

}  // namespace Thermolyx
