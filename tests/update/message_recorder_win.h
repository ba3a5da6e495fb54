#pragma once

#include <windows.h>

#include <chrono>
#include <ostream>
#include <vector>

// A real window that records the messages posted to it, standing in for the main
// window. Messages arrive through the creating thread's queue: call Pump (or
// WaitForCount) on that thread.
class MessageRecorder {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const Message&) const = default;
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    HWND Handle() const { return window_; }
    // Dispatches what is waiting in this thread's queue.
    void Pump();
    // Pumps until `count` messages of that number have arrived or `timeout` passes.
    bool WaitForCount(UINT message, std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // What has arrived of that number, in order of arrival.
    std::vector<Message> Received(UINT message);
    std::vector<LPARAM> LParams(UINT message);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<Message> received_;
};

inline void PrintTo(const MessageRecorder::Message& m, std::ostream* out) {
    *out << "{" << m.message << ", " << m.wParam << ", " << m.lParam << "}";
}
