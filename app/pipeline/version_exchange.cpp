#include "pipeline/version_exchange.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "pipeline/display_report.h"

namespace {

constexpr std::size_t kVersionRequestLength = 64;
constexpr std::uint8_t kVersionRequestCode = 0xFD;
constexpr int kVersionAnswerLength = 3;  // report id, high byte, low byte

// The display needs a moment between the request and its answer.
void PauseForDisplay() { std::this_thread::sleep_for(std::chrono::milliseconds(16)); }

// One read into `answer`, which starts as the request (byte 0 names the report).
bool ReadAnswer(hid_device* device, const std::uint8_t* request, std::uint8_t* answer) {
    std::memcpy(answer, request, kVersionRequestLength);
    const int length = hid_get_feature_report(device, answer, kVersionRequestLength);
    return length >= kVersionAnswerLength && answer[0] == kDisplayReportId;
}

struct PendingExchange {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    std::optional<std::int32_t> version;
};

}  // namespace

std::optional<std::int32_t> ExchangeFirmwareVersion(hid_device* device) {
    const std::uint8_t request[kVersionRequestLength] = {kDisplayReportId, kVersionRequestCode};
    PauseForDisplay();
    if (hid_send_feature_report(device, request, kVersionRequestLength) <= 0) {
        return std::nullopt;
    }
    std::uint8_t answer[kVersionRequestLength];
    PauseForDisplay();
    // The first answer may still be stale; the display gets one more chance.
    if (!ReadAnswer(device, request, answer)) {
        PauseForDisplay();
        if (!ReadAnswer(device, request, answer)) {
            return std::nullopt;
        }
    }
    return answer[1] * 256 + answer[2];
}

BoundedVersionAnswer ExchangeFirmwareVersionWithin(std::shared_ptr<hid_device> device,
                                                   std::chrono::milliseconds deadline) {
    auto pending = std::make_shared<PendingExchange>();
    std::thread([pending, device]() mutable {
        const std::optional<std::int32_t> version = ExchangeFirmwareVersion(device.get());
        // Let go of the device before saying so: a caller that has waited may close it.
        device.reset();
        std::lock_guard guard(pending->lock);
        pending->version = version;
        pending->done = true;
        pending->finished.notify_one();
    }).detach();

    std::unique_lock guard(pending->lock);
    if (!pending->finished.wait_for(guard, deadline, [&] { return pending->done; })) {
        return BoundedVersionAnswer{true, std::nullopt};
    }
    return BoundedVersionAnswer{false, pending->version};
}
