#pragma once

#include <hidapi.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

// The firmware-version exchange with one display: a 64-byte request, then the
// answer, read once more when the first read does not count. An answer counts only
// when the read returned at least the report id and both version bytes, and its
// byte 0 is report id 7. The version (byte 1 * 256 + byte 2), or nothing.
std::optional<std::int32_t> ExchangeFirmwareVersion(hid_device* device);

struct BoundedVersionAnswer {
    bool timedOut = false;
    std::optional<std::int32_t> version;
};

// The same exchange on a helper thread that holds its own reference to `device`,
// so the handle stays valid while hidapi waits; the caller waits at most `deadline`.
// After a time-out the caller must not use the device again: the helper still may.
BoundedVersionAnswer ExchangeFirmwareVersionWithin(std::shared_ptr<hid_device> device,
                                                   std::chrono::milliseconds deadline);
