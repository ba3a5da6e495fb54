#include "message_recorder_win.h"

#include "wait_until.h"

namespace {

constexpr wchar_t kClassName[] = L"ThermolyxTestMessageRecorder";

}  // namespace

MessageRecorder::MessageRecorder() {
    static const ATOM registered = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassW(&windowClass);
    }();
    (void)registered;
    window_ = ::CreateWindowExW(0, kClassName, L"recorder", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), this);
}

MessageRecorder::~MessageRecorder() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

void MessageRecorder::Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
}

bool MessageRecorder::WaitForCount(UINT message, std::size_t count, std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&] {
            Pump();
            return Received(message).size() >= count;
        },
        timeout);
}

std::vector<MessageRecorder::Message> MessageRecorder::Received(UINT message) {
    std::vector<Message> matching;
    for (const Message& m : received_) {
        if (m.message == message) {
            matching.push_back(m);
        }
    }
    return matching;
}

std::vector<LPARAM> MessageRecorder::LParams(UINT message) {
    std::vector<LPARAM> values;
    for (const Message& m : Received(message)) {
        values.push_back(m.lParam);
    }
    return values;
}

LRESULT CALLBACK MessageRecorder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageRecorder*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message >= WM_USER && message < 0x8000) {
        self->received_.push_back({message, wParam, lParam});
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}
