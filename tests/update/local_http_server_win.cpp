#include "local_http_server_win.h"

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <chrono>

#include "base/win/handles.h"
#include "test_files_win.h"
#include "wait_until.h"

namespace {

std::string HostFolderName() {
    static std::atomic<int> counter{0};
    return "/tmp/thermolyx-http-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount64()) +
           "-" + std::to_string(counter++);
}

}  // namespace

LocalHttpServer::LocalHttpServer() {
    const std::string hostRoot = HostFolderName();
    root_ = HostPathToWindows(hostRoot) + L"\\";
    if (!::CreateDirectoryW(root_.c_str(), nullptr)) {
        return;
    }
    // Wine starts a host program given by its Z: path, but hands back no process
    // handle for it; the server therefore stops on a file rather than on termination.
    std::wstring command = HostPathToWindows(PYTHON3_EXECUTABLE) + L" ";
    for (const char c : std::string(LOCAL_HTTP_SERVER_SCRIPT) + " " + hostRoot) {
        command.push_back(static_cast<wchar_t>(c));
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return;
    }
    Base::UniqueHandle processHandle(process.hProcess);
    Base::UniqueHandle threadHandle(process.hThread);
    std::string port;
    WaitUntil([&] {
        port = ReadWholeFile(root_ + L"port");
        return !port.empty();
    });
    port_ = port.empty() ? 0 : std::stoi(port);
}

LocalHttpServer::~LocalHttpServer() {
    // The server removes its folder as it stops.
    WriteTextFile(root_ + L"stop", "");
}

std::wstring LocalHttpServer::Url(const std::wstring& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/" + path;
}

void LocalHttpServer::Serve(const std::wstring& name, const std::string& bytes) const {
    for (std::size_t at = name.find(L'\\'); at != std::wstring::npos; at = name.find(L'\\', at + 1)) {
        ::CreateDirectoryW((root_ + name.substr(0, at)).c_str(), nullptr);
    }
    WriteTextFile(root_ + name, bytes);
}

void LocalHttpServer::Withdraw(const std::wstring& name) const { ::DeleteFileW((root_ + name).c_str()); }

std::string LocalHttpServer::Requests() const { return ReadWholeFile(root_ + L"requests.log"); }

std::wstring RefusedUrl(const std::wstring& path) {
    // Bound but never listening: the port stays ours and refuses every connection.
    static const int port = [] {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int size = sizeof(address);
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
        return static_cast<int>(ntohs(address.sin_port));
    }();
    return L"http://127.0.0.1:" + std::to_wstring(port) + L"/" + path;
}

std::string ReadWholeFile(const std::wstring& path) {
    Base::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string content;
    if (!file) {
        return content;
    }
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read != 0) {
        content.append(buffer, read);
    }
    return content;
}
