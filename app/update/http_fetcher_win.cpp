#include "update/http_fetcher_win.h"

#include <wininet.h>

#include <atomic>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "base/utf8_text.h"
#include "base/win/delete_file_win.h"
#include "base/win/handles.h"
#include "update/download_progress.h"
#include "update/internet_handle_win.h"

namespace {

using Thermolyx::DownloadProgress;
using Thermolyx::FetchLimits;
using Thermolyx::kFetchProgressMessage;
using Thermolyx::kFetchReadSize;
using Thermolyx::UniqueInternetHandle;

constexpr char kUserAgent[] = "DOR2.0/PC 5.5.0000";
constexpr char kExtraHeaders[] = "Accept: */*\r\n\r\n";
// Always from the server: never answered from the cache, never stored in it.
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kOpenUrlFlags == 0x84000100);

// Set on the root, so the connection and request made below inherit them, and again on
// the request: Wine's client takes them only there. Without them the client waits on
// a silent server without end.
void SetTimeouts(HINTERNET handle, const FetchLimits& limits) {
    const std::pair<DWORD, DWORD> timeouts[] = {{INTERNET_OPTION_CONNECT_TIMEOUT, limits.connectTimeoutMs},
                                                {INTERNET_OPTION_SEND_TIMEOUT, limits.sendTimeoutMs},
                                                {INTERNET_OPTION_RECEIVE_TIMEOUT, limits.receiveTimeoutMs}};
    for (auto [option, value] : timeouts) {
        ::InternetSetOptionW(handle, option, &value, sizeof(value));
    }
}

HINTERNET OpenRoot(DWORD connectedState, const FetchLimits& limits) {
    // With a proxy configured take the system's settings in full; without one, skip
    // the slow automatic proxy discovery.
    const DWORD access = (connectedState & INTERNET_CONNECTION_PROXY) != 0
                             ? INTERNET_OPEN_TYPE_PRECONFIG
                             : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    HINTERNET root = ::InternetOpenA(kUserAgent, access, nullptr, nullptr, 0);
    if (root != nullptr) {
        SetTimeouts(root, limits);
    }
    return root;
}

bool QueryNumber(HINTERNET request, DWORD query, DWORD& value) {
    DWORD size = sizeof(value);
    return ::HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) != FALSE;
}

// Nothing when the server does not announce a length.
std::optional<DWORD> ContentLength(HINTERNET request) {
    DWORD length = 0;
    if (!QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH, length)) {
        return std::nullopt;
    }
    return length;
}

// Reads the body piece by piece into `take` until its end or until `running` drops.
// False on a failed read, a piece `take` refuses, or a transfer that ended before
// the announced length (the internet client reports that as an ordinary end).
template <typename Take>
bool ReadBody(HINTERNET request, std::optional<DWORD> contentLength, const std::atomic<std::uint8_t>& running,
              Take take) {
    std::uint64_t received = 0;
    std::vector<char> buffer(kFetchReadSize);
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(request, buffer.data(), kFetchReadSize, &read)) {
            return false;
        }
        if (read == 0) {
            return !(contentLength && received < *contentLength);
        }
        received += read;
        if (!take(buffer.data(), read)) {
            return false;
        }
        if (running != 1) {
            return true;
        }
    }
}

}  // namespace

// The root and request handles of one fetch. Stop may close the root from another
// thread; the request goes with it then, so neither is closed a second time here.
class HttpFetcher::Session {
public:
    // Sets `running` (unless the fetcher was stopped) and opens the root handle.
    explicit Session(HttpFetcher& fetcher) : fetcher_(fetcher) {
        {
            std::lock_guard guard(fetcher_.rootLock_);
            if (fetcher_.stopped_) {
                return;
            }
            fetcher_.running = 1;
        }
        HINTERNET root = OpenRoot(fetcher.ConnectedState(), fetcher.limits_);
        std::lock_guard guard(fetcher_.rootLock_);
        if (fetcher_.stopped_) {
            if (root != nullptr) {
                ::InternetCloseHandle(root);
            }
            return;
        }
        fetcher_.root_ = root;
        root_ = root;
    }
    ~Session() {
        std::lock_guard guard(fetcher_.rootLock_);
        if (fetcher_.root_ == nullptr) {
            (void)request_.Take();  // closed with its root by Stop, or never opened
            return;
        }
        request_.Reset();
        ::InternetCloseHandle(fetcher_.root_);
        fetcher_.root_ = nullptr;
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool Stopped() const { return fetcher_.running != 1; }
    bool HasRoot() const { return root_ != nullptr; }

    // False unless the server answered with a success status: an error page is not
    // the file asked for, and must neither become a version text nor replace a file.
    bool OpenUrl(const std::wstring& url) {
        const std::string narrowUrl = Base::EncodeUtf8(url);
        request_.Reset(
            ::InternetOpenUrlA(root_, narrowUrl.c_str(), kExtraHeaders, sizeof(kExtraHeaders) - 1, kOpenUrlFlags, 0));
        if (request_) {
            SetTimeouts(request_.Get(), fetcher_.limits_);
        }
        DWORD status = 0;
        return request_ && QueryNumber(request_.Get(), HTTP_QUERY_STATUS_CODE, status) && status >= 200 &&
               status <= 299;
    }

    HINTERNET Request() const { return request_.Get(); }

private:
    HttpFetcher& fetcher_;
    HINTERNET root_ = nullptr;
    UniqueInternetHandle request_;
};

HttpFetcher::HttpFetcher(const FetchLimits& limits) : limits_(limits) {}

void HttpFetcher::Stop() {
    std::lock_guard guard(rootLock_);
    stopped_ = true;
    running = 0;
    if (root_ != nullptr) {
        // Closing the root closes the request below it and ends a call waiting on either.
        ::InternetCloseHandle(root_);
        root_ = nullptr;
    }
}

int HttpFetcher::FetchBytes(const std::wstring& url, std::string& bytes) {
    Session session(*this);
    if (session.Stopped()) {
        return kStopped;
    }
    if (!session.HasRoot()) {
        return kNoInternet;
    }
    if (!session.OpenUrl(url)) {
        return running == 1 ? kFailed : kStopped;
    }
    const std::optional<DWORD> contentLength = ContentLength(session.Request());
    if (contentLength && *contentLength > limits_.textBytes) {
        return kFailed;
    }
    const ULONGLONG deadline = ::GetTickCount64() + limits_.textDeadlineMs;
    std::string body;
    const auto append = [&](const char* piece, DWORD size) {
        if (size > limits_.textBytes - body.size() || ::GetTickCount64() > deadline) {
            return false;
        }
        body.append(piece, size);
        return true;
    };
    if (!ReadBody(session.Request(), contentLength, running, append)) {
        return running == 1 ? kFailed : kStopped;
    }
    if (running != 1) {
        return kStopped;
    }
    bytes = std::move(body);
    return kDone;
}

int HttpFetcher::FetchText(const std::wstring& url, std::wstring& text) {
    std::string body;
    const int result = FetchBytes(url, body);
    if (result == kDone) {
        text = Base::DecodeUtf8UpToNul(body);
    }
    return result;
}

int HttpFetcher::FetchToFile(const std::wstring& url, const std::wstring& path, HWND window) {
    std::function<void(std::int32_t)> post;
    if (window != nullptr) {
        post = [window](std::int32_t value) { ::PostMessageW(window, kFetchProgressMessage, 0, value); };
    }
    DownloadProgress progress(lastProgress, std::move(post));
    Session session(*this);
    if (session.Stopped()) {
        return kStopped;
    }
    progress.Started();
    if (!session.HasRoot()) {
        return kNoInternet;
    }
    progress.RootOpened();
    if (!session.OpenUrl(url)) {
        return running == 1 ? kFailed : kStopped;
    }
    progress.UrlOpened();

    Base::DeleteFileIfPresent(path);
    const std::optional<DWORD> contentLength = ContentLength(session.Request());
    if (contentLength && *contentLength > limits_.fileBytes) {
        return kFailed;  // refused before a byte is written
    }
    Base::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return kFailed;
    }
    progress.LengthKnown(contentLength.value_or(0));

    std::uint64_t written = 0;
    const bool complete = ReadBody(session.Request(), contentLength, running, [&](const char* piece, DWORD size) {
        if (size > limits_.fileBytes - written) {
            return false;  // a body that runs past its cap, announced or not
        }
        if (!WritePiece(file.Get(), piece, size)) {
            return false;
        }
        written += size;
        progress.ChunkRead();
        return true;
    });
    if (!complete) {
        return running == 1 ? kFailed : kStopped;
    }
    if (running != 1) {
        return kStopped;
    }
    file.Reset();
    progress.Finished();
    return kDone;
}

DWORD HttpFetcher::ConnectedState() const {
    // Whether a connection is reported does not matter, so the result is not looked at.
    DWORD state = 0;
    ::InternetGetConnectedState(&state, 0);
    return state;
}

bool HttpFetcher::WritePiece(HANDLE file, const char* piece, DWORD size) {
    DWORD written = 0;
    return ::WriteFile(file, piece, size, &written, nullptr) && written == size;
}
