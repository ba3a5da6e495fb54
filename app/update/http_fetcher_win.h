#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "update/fetch_limits.h"

namespace Thermolyx {

// Download progress travels to the main window as its tray message (WM_USER + 666)
// with the value in lParam.
inline constexpr UINT kFetchProgressMessage = WM_USER + 666;

}  // namespace Thermolyx

// Gets one file from a web server through WinINet, into memory as text or into a file,
// synchronously on the calling thread (the worker). Results: 1 done, -2 stopped because
// `running` became 0, -1 the URL could not be opened, the server did not answer with
// success, the body broke a limit, or a read or write failed, 0 the internet root
// handle could not be opened.
class HttpFetcher {
public:
    static constexpr int kDone = 1;
    static constexpr int kStopped = -2;
    static constexpr int kFailed = -1;
    static constexpr int kNoInternet = 0;

    explicit HttpFetcher(const Thermolyx::FetchLimits& limits = {});
    virtual ~HttpFetcher() = default;
    HttpFetcher(const HttpFetcher&) = delete;
    HttpFetcher& operator=(const HttpFetcher&) = delete;

    // The body decoded from UTF-8 up to its first zero byte; `text` changes only on success.
    int FetchText(const std::wstring& url, std::wstring& text);
    // The body as it is (a signature); `bytes` changes only on success.
    int FetchBytes(const std::wstring& url, std::string& bytes);
    // Replaces the file at `path` with the body once the server has answered with
    // success; posts progress to `window` when one is given.
    int FetchToFile(const std::wstring& url, const std::wstring& path, HWND window);

    // From another thread, as the program ends: ends the fetch in progress with
    // kStopped (clears `running` and closes the internet handles, which cuts a waiting
    // call short), and every later fetch of this object too.
    void Stop();

    // 1 from the start of every fetch; a transfer reads on only while it is 1.
    std::atomic<std::uint8_t> running{0};
    // The progress value last posted; carries over from one download to the next.
    std::int32_t lastProgress = 0;

protected:
    // The system's connection flags; only the proxy bit is looked at.
    virtual DWORD ConnectedState() const;
    // Writes one piece of the body to the download file; false unless all of it went.
    virtual bool WritePiece(HANDLE file, const char* piece, DWORD size);

private:
    class Session;

    Thermolyx::FetchLimits limits_;
    // The root handle of the fetch in progress, shared with Stop; null between fetches
    // and once Stop has closed it.
    std::mutex rootLock_;
    HINTERNET root_ = nullptr;
    bool stopped_ = false;
};
