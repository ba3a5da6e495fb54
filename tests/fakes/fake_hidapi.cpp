// The hidapi C functions the transport calls, answered by emulated displays.
#include <hidapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <condition_variable>

#include "fake_display.h"

namespace {

constexpr std::uint8_t kReportId = 7;
constexpr std::uint8_t kVersionRequest = 0xFD;
constexpr std::uint8_t kStaleMarker = 0xEE;

struct Display {
    fake_display::Options options;
    bool plugged = true;
    bool openFails = false;
    bool sendFails = false;
    bool readFails = false;
    bool readHangs = false;
    int answerLength = -1;  // -1: the whole buffer
    std::uint8_t versionHigh = 0x01;
    std::uint8_t versionLow = 0x05;
    int staleAnswers = 0;
    std::uint8_t staleByte0 = 0;
    bool versionAsked = false;
    int featureReads = 0;
    std::vector<fake_display::SentReport> vendorReports;
    std::vector<fake_display::SentReport> secondReports;
};

struct State {
    std::mutex lock;
    std::condition_variable hangReleased;
    std::map<int, Display> displays;
    int nextId = 1;
    int openHandles = 0;
};

State& TheState() {
    static State state;
    return state;
}

std::string PathOf(int id, const Display& display, bool vendorCollection) {
    if (vendorCollection && !display.options.pathOverride.empty()) {
        return display.options.pathOverride;
    }
    char path[128];
    std::snprintf(
        path, sizeof(path), "\\\\?\\hid#vid_%04x&pid_%04x&col%02d#%d&0&000%d#{4d1e55b2-f16f-11cf-88cb-001111000030}",
        display.options.vendorId, display.options.productId, vendorCollection ? 1 : 2, id, vendorCollection ? 0 : 1);
    return path;
}

wchar_t* DuplicateWide(const std::wstring& text) {
    auto* copy = static_cast<wchar_t*>(std::calloc(text.size() + 1, sizeof(wchar_t)));
    std::wmemcpy(copy, text.c_str(), text.size());
    return copy;
}

}  // namespace

struct hid_device_ {
    int display;
    bool vendorCollection;
};

namespace fake_display {

int Plug(const Options& options) {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    const int id = state.nextId++;
    state.displays[id].options = options;
    return id;
}

void Unplug(int display) {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    state.displays.at(display).plugged = false;
    state.hangReleased.notify_all();
}

void Reset() {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    for (auto& [id, display] : state.displays) {
        display.plugged = false;
    }
    state.hangReleased.notify_all();
}

template <typename Action>
auto WithDisplay(int id, Action action) {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    return action(state.displays.at(id), id);
}

void SetVersion(int id, std::uint8_t high, std::uint8_t low) {
    WithDisplay(id, [&](Display& display, int) {
        display.versionHigh = high;
        display.versionLow = low;
    });
}

void SetStaleAnswers(int id, int count, std::uint8_t byte0) {
    WithDisplay(id, [&](Display& display, int) {
        display.staleAnswers = count;
        display.staleByte0 = byte0;
    });
}

void SetOpenFails(int id, bool fails) {
    WithDisplay(id, [&](Display& display, int) { display.openFails = fails; });
}

void SetSendFails(int id, bool fails) {
    WithDisplay(id, [&](Display& display, int) { display.sendFails = fails; });
}

void SetReadFails(int id, bool fails) {
    WithDisplay(id, [&](Display& display, int) { display.readFails = fails; });
}

void SetAnswerLength(int id, int length) {
    WithDisplay(id, [&](Display& display, int) { display.answerLength = length; });
}

void SetReadHangs(int id, bool hangs) {
    WithDisplay(id, [&](Display& display, int) { display.readHangs = hangs; });
    TheState().hangReleased.notify_all();
}

std::vector<SentReport> SentReports(int id) {
    return WithDisplay(id, [](Display& display, int) { return display.vendorReports; });
}

std::vector<SentReport> SentToSecondCollection(int id) {
    return WithDisplay(id, [](Display& display, int) { return display.secondReports; });
}

int FeatureReads(int id) {
    return WithDisplay(id, [](Display& display, int) { return display.featureReads; });
}

std::string VendorCollectionPath(int id) {
    return WithDisplay(id, [](Display& display, int displayId) { return PathOf(displayId, display, true); });
}

int OpenHandles() {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    return state.openHandles;
}

}  // namespace fake_display

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void) { return 0; }

int HID_API_EXPORT HID_API_CALL hid_exit(void) { return 0; }

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    hid_device_info* head = nullptr;
    hid_device_info** tail = &head;
    auto append = [&](int id, const Display& display, bool vendorCollection) {
        auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
        info->path = strdup(PathOf(id, display, vendorCollection).c_str());
        info->vendor_id = display.options.vendorId;
        info->product_id = display.options.productId;
        info->release_number = display.options.release;
        info->product_string = DuplicateWide(display.options.product);
        info->usage_page = vendorCollection ? 0xFF01 : display.options.secondUsagePage;
        info->usage = vendorCollection ? 0x0001 : display.options.secondUsage;
        info->interface_number = -1;
        *tail = info;
        tail = &info->next;
    };
    for (const auto& [id, display] : state.displays) {
        const bool matches = (vendor_id == 0 || vendor_id == display.options.vendorId) &&
                             (product_id == 0 || product_id == display.options.productId);
        if (!display.plugged || !matches) {
            continue;
        }
        append(id, display, true);
        if (display.options.secondCollection) {
            append(id, display, false);
        }
    }
    return head;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs) {
    while (devs != nullptr) {
        hid_device_info* next = devs->next;
        std::free(devs->path);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path) {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    for (const auto& [id, display] : state.displays) {
        if (!display.plugged || display.openFails) {
            continue;
        }
        for (const bool vendorCollection : {true, false}) {
            if (!vendorCollection && !display.options.secondCollection) {
                continue;
            }
            if (PathOf(id, display, vendorCollection) == path) {
                ++state.openHandles;
                return new hid_device_{id, vendorCollection};
            }
        }
    }
    return nullptr;
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev) {
    if (dev == nullptr) {
        return;
    }
    State& state = TheState();
    {
        std::lock_guard guard(state.lock);
        --state.openHandles;
    }
    delete dev;
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen) {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    const Display& display = state.displays.at(dev->display);
    if (!display.plugged || display.options.productStringFails || maxlen == 0) {
        return -1;
    }
    std::wcsncpy(string, display.options.product.c_str(), maxlen);
    string[maxlen - 1] = L'\0';
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device* dev, const unsigned char* data, size_t length) {
    State& state = TheState();
    std::lock_guard guard(state.lock);
    Display& display = state.displays.at(dev->display);
    if (!display.plugged || display.sendFails || length == 0) {
        return -1;
    }
    fake_display::SentReport report{std::vector<std::uint8_t>(data, data + length)};
    if (dev->vendorCollection) {
        display.vendorReports.push_back(report);
        display.versionAsked = length >= 2 && data[0] == kReportId && data[1] == kVersionRequest;
    } else {
        display.secondReports.push_back(report);
    }
    return static_cast<int>(length);
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device* dev, unsigned char* data, size_t length) {
    State& state = TheState();
    std::unique_lock guard(state.lock);
    Display& display = state.displays.at(dev->display);
    ++display.featureReads;
    if (display.readHangs) {
        state.hangReleased.wait(guard, [&] { return !display.readHangs || !display.plugged; });
        return -1;
    }
    if (!display.plugged || display.readFails || length < 3 || data[0] != kReportId || !dev->vendorCollection ||
        !display.versionAsked) {
        return -1;  // the buffer is left as it was
    }
    std::memset(data, 0, length);
    data[0] = kReportId;
    if (display.staleAnswers > 0) {
        // A stale answer: its bytes 1 and 2 tell which read produced it.
        --display.staleAnswers;
        data[0] = display.staleByte0;
        data[1] = kStaleMarker;
        data[2] = static_cast<std::uint8_t>(display.featureReads);
    } else {
        data[1] = display.versionHigh;
        data[2] = display.versionLow;
    }
    return display.answerLength >= 0 ? display.answerLength : static_cast<int>(length);
}

}  // extern "C"
