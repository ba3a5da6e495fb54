#pragma once

#include <string>

// A real HTTP server on a free loopback port (a Python script of this folder, run
// from the host), serving the files of a fresh folder of its own. The folder and the
// server go away with the object.
class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // False when the server did not come up.
    bool IsRunning() const { return port_ != 0; }
    // "http://127.0.0.1:PORT/" followed by `path`.
    std::wstring Url(const std::wstring& path = L"") const;
    // Puts a file with these bytes at `name` (sub-folders separated by "\\") below the
    // served folder. Beside a file, NAME.status holds another status code to answer
    // with, NAME.cut a number of bytes after which the connection is reset,
    // NAME.nolength drops Content-Length, NAME.slow ("BYTES MS") trickles the body and
    // NAME.stall sends the headers and then nothing.
    void Serve(const std::wstring& name, const std::string& bytes) const;
    // Takes the file at `name` away again.
    void Withdraw(const std::wstring& name) const;
    // Every request received so far: request line and headers, a blank line after each.
    std::string Requests() const;

private:
    std::wstring root_;  // the served folder as Windows sees it, ending in "\"
    int port_ = 0;
};

// A loopback URL on which nothing listens: connecting is refused.
std::wstring RefusedUrl(const std::wstring& path);

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);
