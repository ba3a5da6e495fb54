#include "update/http_fetcher_win.h"

#include <wininet.h>

#include <atomic>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "update/internet_handle_win.h"
#include "base/win/delete_file_win.h"
#include "base/win/handles.h"
#include "update/download_progress.h"
#include "base/utf8_text.h"

namespace {

using Thermolyx::DownloadProgress;
using Thermolyx::kFetchProgressMessage;
using Thermolyx::kFetchReadSize;
using Thermolyx::UniqueInternetHandle;

constexpr char kUserAgent[] = "DOR2.0/PC 5.5.0000";
constexpr char kExtraHeaders[] = "Accept: */*\r\n\r\n";
// Always from the server: never answered from the cache, never stored in it.
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kOpenUrlFlags == 0x84000100);

UniqueInternetHandle OpenRoot(DWORD connectedState) {
    // With a proxy configured take the system's settings in full; without one, skip
    // the slow automatic proxy discovery.
    const DWORD access = (connectedState & INTERNET_CONNECTION_PROXY) != 0
                             ? INTERNET_OPEN_TYPE_PRECONFIG
                             : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    return UniqueInternetHandle(::InternetOpenA(kUserAgent, access, nullptr, nullptr, 0));
}

bool QueryNumber(HINTERNET request, DWORD query, DWORD& value) {
    DWORD size = sizeof(value);
    return ::HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) != FALSE;
}

// Null unless the server answered with a success status: an error page is not the
// file asked for, and must neither become a version text nor replace a file.
UniqueInternetHandle OpenUrl(HINTERNET root, const std::wstring& url) {
    const std::string narrowUrl = Base::EncodeUtf8(url);
    UniqueInternetHandle request(
        ::InternetOpenUrlA(root, narrowUrl.c_str(), kExtraHeaders, sizeof(kExtraHeaders) - 1, kOpenUrlFlags, 0));
    DWORD status = 0;
    if (!request || !QueryNumber(request.Get(), HTTP_QUERY_STATUS_CODE, status) || status < 200 || status > 299) {
        return {};
    }
    return request;
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

int HttpFetcher::FetchText(const std::wstring& url, std::wstring& text) {
    running = 1;
    const UniqueInternetHandle root = OpenRoot(ConnectedState());
    if (!root) {
        return kNoInternet;
    }
    const UniqueInternetHandle request = OpenUrl(root.Get(), url);
    if (!request) {
        return kFailed;
    }
    std::string body;
    const auto append = [&](const char* piece, DWORD size) {
        body.append(piece, size);
        return true;
    };
    if (!ReadBody(request.Get(), ContentLength(request.Get()), running, append)) {
        return kFailed;
    }
    text = Base::DecodeUtf8UpToNul(body);
    return running == 1 ? kDone : kStopped;
}

int HttpFetcher::FetchToFile(const std::wstring& url, const std::wstring& path, HWND window) {
    running = 1;
    std::function<void(std::int32_t)> post;
    if (window != nullptr) {
        post = [window](std::int32_t value) { ::PostMessageW(window, kFetchProgressMessage, 0, value); };
    }
    DownloadProgress progress(lastProgress, std::move(post));
    progress.Started();

    UniqueInternetHandle root = OpenRoot(ConnectedState());
    if (!root) {
        return kNoInternet;
    }
    progress.RootOpened();
    UniqueInternetHandle request = OpenUrl(root.Get(), url);
    if (!request) {
        return kFailed;
    }
    progress.UrlOpened();

    Base::DeleteFileIfPresent(path);
    Base::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return kFailed;
    }
    const std::optional<DWORD> contentLength = ContentLength(request.Get());
    progress.LengthKnown(contentLength.value_or(0));

    const bool complete = ReadBody(request.Get(), contentLength, running, [&](const char* piece, DWORD size) {
        if (!WritePiece(file.Get(), piece, size)) {
            return false;
        }
        progress.ChunkRead();
        return true;
    });
    if (!complete) {
        return kFailed;
    }
    file.Reset();
    request.Reset();
    root.Reset();
    progress.Finished();
    return running == 1 ? kDone : kStopped;
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
