#include "update/http_fetcher_win.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include <chrono>
#include <future>
#include <string>

#include "update/internet_handle_win.h"
#include "local_http_server_win.h"
#include "message_recorder_win.h"
#include "temp_folder.h"
#include "test_files_win.h"
#include "wait_until.h"
#include "wine_win.h"

using Thermolyx::FetchLimits;
using Thermolyx::kFetchProgressMessage;

namespace {

using namespace std::string_literals;
using Progress = std::vector<LPARAM>;

// Binary bytes, zeros among them, that differ from one position to the next, so a
// lost or doubled read shows.
std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    return bytes;
}

// Printable text of that many characters, as bytes and as the decoded text.
std::string Letters(std::size_t size) {
    std::string text(size, 'a');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
    }
    return text;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class HttpFetcherTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.IsRunning()); }

    // Progress posted so far; every post of a fetch is queued by the time it returns.
    Progress PostedProgress() {
        recorder.Pump();
        return recorder.LParams(kFetchProgressMessage);
    }

    LocalHttpServer server;
    MessageRecorder recorder;
    TempFolder scratch;
    HttpFetcher fetcher;
};

TEST_F(HttpFetcherTest, RequestCarriesTheUserAgentAndAcceptHeaderAndBypassesCaches) {
    server.Serve(L"version", "1.0.0.10");
    std::wstring text;
    EXPECT_EQ(fetcher.FetchText(server.Url(L"version"), text), HttpFetcher::kDone);
    EXPECT_EQ(text, L"1.0.0.10");
    EXPECT_EQ(fetcher.running, 1);

    const std::string requests = server.Requests();
    EXPECT_EQ(requests.rfind("GET /version HTTP/1.1\n", 0), 0u) << requests;
    EXPECT_NE(requests.find("\nUser-Agent: DOR2.0/PC 5.5.0000\n"), std::string::npos) << requests;
    // Wine's client adds an Accept header of its own, the same as ours.
    for (std::size_t at = requests.find("\nAccept:"); at != std::string::npos;
         at = requests.find("\nAccept:", at + 1)) {
        EXPECT_EQ(requests.compare(at, 13, "\nAccept: */*\n"), 0) << requests;
    }
    EXPECT_NE(requests.find("\nAccept: */*\n"), std::string::npos) << requests;
    EXPECT_NE(requests.find("\nPragma: no-cache\n"), std::string::npos) << requests;

    // The same URL again reaches the server, not a cached copy.
    server.Serve(L"version", "1.0.0.11");
    EXPECT_EQ(fetcher.FetchText(server.Url(L"version"), text), HttpFetcher::kDone);
    EXPECT_EQ(text, L"1.0.0.11");
}

TEST_F(HttpFetcherTest, FetchTextDecodesTheWholeBodyUpToItsFirstZeroByte) {
    struct Case {
        std::string body;
        std::wstring expected;
    };
    const Case cases[] = {
        {"", L""},
        {"105\0trailing"s, L"105"},
        {"caf\xC3\xA9", L"caf\u00E9"},
        {Letters(64), Widen(Letters(64))},  // as long as a text may be
    };
    for (const Case& c : cases) {
        server.Serve(L"body", c.body);
        std::wstring text = L"unchanged";
        EXPECT_EQ(fetcher.FetchText(server.Url(L"body"), text), HttpFetcher::kDone);
        EXPECT_TRUE(text == c.expected) << c.body.size() << " bytes";
    }
}

TEST_F(HttpFetcherTest, FailuresLeaveTheTextUnchanged) {
    server.Serve(L"missing.status", "404");  // the file itself is absent: the server's own 404 page
    server.Serve(L"busy", "9.9");            // a short error body must not pass for a version
    server.Serve(L"busy.status", "503");
    server.Serve(L"moved", "1.2");
    server.Serve(L"moved.status", "301");
    server.Serve(L"cut", Letters(25000));
    server.Serve(L"cut.cut", "12000");
    const std::wstring urls[] = {server.Url(L"missing"), server.Url(L"busy"), server.Url(L"moved"), server.Url(L"cut"),
                                 RefusedUrl(L"version")};
    for (const std::wstring& url : urls) {
        std::wstring text = L"unchanged";
        EXPECT_EQ(fetcher.FetchText(url, text), HttpFetcher::kFailed) << url;
        EXPECT_TRUE(text == L"unchanged") << url;
    }
}

TEST_F(HttpFetcherTest, DownloadOf25000BytesPostsProgressPerReadAndStartsAgainAtZero) {
    const std::string body = Pattern(25000);
    server.Serve(L"package.zip", body);
    const std::wstring path = scratch.Wide() + L"package.zip";

    EXPECT_EQ(fetcher.FetchToFile(server.Url(L"package.zip"), path, recorder.Handle()), HttpFetcher::kDone);
    EXPECT_EQ(ReadWholeFile(path), body);
    EXPECT_EQ(PostedProgress(), (Progress{2, 8, 10, 55, 100}));  // the third read's 145 stops at 100
    EXPECT_EQ(fetcher.lastProgress, 100);

    EXPECT_EQ(fetcher.FetchToFile(server.Url(L"package.zip"), path, recorder.Handle()), HttpFetcher::kDone);
    EXPECT_EQ(PostedProgress(), (Progress{2, 8, 10, 55, 100, 0, 2, 8, 10, 55, 100}));
    for (const auto& m : recorder.Received(kFetchProgressMessage)) {
        EXPECT_EQ(m.wParam, 0u);
    }
}

TEST_F(HttpFetcherTest, ShortOrUnmeasuredBodiesPostOnlyTheFixedSteps) {
    struct Case {
        const wchar_t* name;
        std::string body;
        bool withLength;
    };
    const Case cases[] = {
        {L"empty", "", true},
        {L"small", Pattern(10239), true},
        {L"unmeasured", Pattern(25000), false},  // no Content-Length: no per-read values
    };
    for (const Case& c : cases) {
        server.Serve(c.name, c.body);
        if (!c.withLength) {
            server.Serve(std::wstring(c.name) + L".nolength", "");
        }
        HttpFetcher fresh;
        MessageRecorder window;
        const std::wstring path = scratch.Wide() + c.name;
        EXPECT_EQ(fresh.FetchToFile(server.Url(c.name), path, window.Handle()), HttpFetcher::kDone) << c.name;
        EXPECT_TRUE(FileExists(path)) << c.name;
        EXPECT_EQ(ReadWholeFile(path), c.body) << c.name;
        window.Pump();
        EXPECT_EQ(window.LParams(kFetchProgressMessage), (Progress{2, 8, 10, 100})) << c.name;
    }
}

TEST_F(HttpFetcherTest, WithoutAWindowNothingIsPostedAnywhere) {
    server.Serve(L"package.zip", Pattern(25000));
    const std::wstring path = scratch.Wide() + L"package.zip";
    EXPECT_EQ(fetcher.FetchToFile(server.Url(L"package.zip"), path, nullptr), HttpFetcher::kDone);
    EXPECT_EQ(ReadWholeFile(path).size(), 25000u);
    // A post to no window would land in this thread's queue.
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, kFetchProgressMessage, kFetchProgressMessage, PM_REMOVE));
    EXPECT_EQ(fetcher.lastProgress, 0);
}

TEST_F(HttpFetcherTest, AnExistingFileIsReplacedOnlyOnceTheServerAnsweredWithSuccess) {
    server.Serve(L"missing.status", "404");
    server.Serve(L"busy", "error page");
    server.Serve(L"busy.status", "500");
    struct Case {
        std::wstring url;
        bool fileKept;
    };
    const Case cases[] = {
        {RefusedUrl(L"package.zip"), true},
        {server.Url(L"missing"), true},
        {server.Url(L"busy"), true},
    };
    const std::wstring path = scratch.Wide() + L"package.zip";
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteTextFile(path, "earlier package"));
        EXPECT_EQ(fetcher.FetchToFile(c.url, path, recorder.Handle()), HttpFetcher::kFailed) << c.url;
        EXPECT_EQ(ReadWholeFile(path), "earlier package") << c.url;
    }
    // Each failure got as far as the root handle (2) and no further; the next download
    // starts again from 0.
    EXPECT_EQ(PostedProgress(), (Progress{2, 0, 2, 0, 2}));
}

TEST_F(HttpFetcherTest, ATransferThatBreaksOffFailsAfterTheOldFileWasDeleted) {
    server.Serve(L"package.zip", Pattern(25000));
    server.Serve(L"package.zip.cut", "5000");
    const std::wstring path = scratch.Wide() + L"package.zip";
    ASSERT_TRUE(WriteTextFile(path, "earlier package"));

    EXPECT_EQ(fetcher.FetchToFile(server.Url(L"package.zip"), path, recorder.Handle()), HttpFetcher::kFailed);
    const std::string partial = ReadWholeFile(path);
    EXPECT_EQ(partial.size(), 5000u);
    EXPECT_TRUE(partial == Pattern(25000).substr(0, partial.size()));
    // 55 for the one read, then no final 100.
    EXPECT_EQ(PostedProgress(), (Progress{2, 8, 10, 55}));
}

TEST_F(HttpFetcherTest, ATargetThatCannotBeCreatedFails) {
    server.Serve(L"package.zip", Pattern(100));
    const std::wstring path = scratch.Wide() + L"no such folder\\package.zip";
    EXPECT_EQ(fetcher.FetchToFile(server.Url(L"package.zip"), path, recorder.Handle()), HttpFetcher::kFailed);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(PostedProgress(), (Progress{2, 8}));
}

// Limits: what a hostile or broken server can no longer do to the worker.

using Clock = std::chrono::steady_clock;

// Short enough for a test; the program's own are seconds to tens of seconds.
FetchLimits QuickLimits() {
    FetchLimits limits;
    limits.connectTimeoutMs = 2'000;
    limits.receiveTimeoutMs = 1'500;
    limits.textDeadlineMs = 2'000;
    limits.fileBytes = 30'000;
    return limits;
}

TEST_F(HttpFetcherTest, TextBeyondItsLimitFailsWithoutFailingTheProcess) {
    struct Case {
        const wchar_t* name;
        std::string body;
        bool announced;
    };
    const Case cases[] = {
        {L"huge", std::string(1 << 20, '1'), true},  // a 1 MB "version" file
        {L"unannounced", Pattern(1 << 20), false},   // the same, the length known only by reading
        {L"one over", std::string(65, '9'), true},
    };
    for (const Case& c : cases) {
        server.Serve(c.name, c.body);
        if (!c.announced) {
            server.Serve(std::wstring(c.name) + L".nolength", "");
        }
        std::wstring text = L"unchanged";
        EXPECT_EQ(fetcher.FetchText(server.Url(c.name), text), HttpFetcher::kFailed) << c.name;
        EXPECT_TRUE(text == L"unchanged") << c.name;
    }
    server.Serve(L"exactly", std::string(64, '7'));
    std::wstring text;
    EXPECT_EQ(fetcher.FetchText(server.Url(L"exactly"), text), HttpFetcher::kDone);
    EXPECT_EQ(text.size(), 64u);
}

TEST_F(HttpFetcherTest, AVersionServerThatTricklesIsLeftByTheTextDeadline) {
    HttpFetcher quick(QuickLimits());
    // A valid text that takes 3.2 s, each byte well within the receive limit: only the
    // 2-second deadline refuses it (Wine's client returns it whole at the end).
    server.Serve(L"trickled", "1.0.0.10");
    server.Serve(L"trickled.slow", "1 400");
    std::wstring text = L"unchanged";
    const auto start = Clock::now();
    EXPECT_EQ(quick.FetchText(server.Url(L"trickled"), text), HttpFetcher::kFailed);
    EXPECT_TRUE(text == L"unchanged");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

TEST_F(HttpFetcherTest, AServerThatStallsIsLeftByTheReceiveLimit) {
    if (RunningUnderWine()) {
        // Seen here: Wine 8's client takes the receive time-out option but never applies
        // it; a stalled read waited 120 s, until the test server gave up.
        GTEST_SKIP() << "Wine's internet client ignores INTERNET_OPTION_RECEIVE_TIMEOUT";
    }
    HttpFetcher quick(QuickLimits());
    server.Serve(L"stalled", "1.0.0.10");
    server.Serve(L"stalled.stall", "");
    for (const wchar_t* name : {L"stalled"}) {
        std::wstring text = L"unchanged";
        const auto start = Clock::now();
        EXPECT_EQ(quick.FetchText(server.Url(name), text), HttpFetcher::kFailed) << name;
        const auto took = Clock::now() - start;
        EXPECT_TRUE(text == L"unchanged") << name;
        EXPECT_LT(took, std::chrono::seconds(6)) << name;
    }
    // A download that stalls ends at the receive limit too.
    server.Serve(L"package.zip", Pattern(20000));
    server.Serve(L"package.zip.stall", "");
    const auto start = Clock::now();
    EXPECT_EQ(quick.FetchToFile(server.Url(L"package.zip"), scratch.Wide() + L"package.zip", nullptr),
              HttpFetcher::kFailed);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(6));
}

TEST_F(HttpFetcherTest, ADownloadLargerThanItsCapIsRefused) {
    HttpFetcher capped(QuickLimits());  // 30,000 bytes
    server.Serve(L"fits.zip", Pattern(30000));
    server.Serve(L"announced.zip", Pattern(30001));
    server.Serve(L"unannounced.zip", Pattern(50000));
    server.Serve(L"unannounced.zip.nolength", "");
    EXPECT_EQ(capped.FetchToFile(server.Url(L"fits.zip"), scratch.Wide() + L"fits.zip", nullptr), HttpFetcher::kDone);
    EXPECT_EQ(ReadWholeFile(scratch.Wide() + L"fits.zip").size(), 30000u);

    EXPECT_EQ(capped.FetchToFile(server.Url(L"announced.zip"), scratch.Wide() + L"announced.zip", nullptr),
              HttpFetcher::kFailed);
    EXPECT_FALSE(FileExists(scratch.Wide() + L"announced.zip")) << "refused before anything is written";
    EXPECT_EQ(capped.FetchToFile(server.Url(L"unannounced.zip"), scratch.Wide() + L"unannounced.zip", nullptr),
              HttpFetcher::kFailed);
    EXPECT_LE(ReadWholeFile(scratch.Wide() + L"unannounced.zip").size(), 30000u) << "nothing past the cap";
}

TEST_F(HttpFetcherTest, StopCutsASlowDownloadShortAndEveryLaterFetch) {
    server.Serve(L"package.zip", Pattern(200000));
    // 80 KB/s: a slow line. Wine's client fills each 10,240-byte read before it
    // returns, so a stop takes effect within one read's time there.
    server.Serve(L"package.zip.slow", "4000 50");
    server.Serve(L"version", "1.0.0.10");
    const std::wstring path = scratch.Wide() + L"package.zip";
    std::future<int> download = std::async(
        std::launch::async, [&] { return fetcher.FetchToFile(server.Url(L"package.zip"), path, recorder.Handle()); });
    // 2, 8, 10, then values per read: the body is under way.
    ASSERT_TRUE(WaitUntil([&] { return PostedProgress().size() >= 5; })) << "the download is under way";
    const auto stop = Clock::now();
    fetcher.Stop();
    ASSERT_EQ(download.wait_for(std::chrono::milliseconds(1000)), std::future_status::ready)
        << "ended within the worker's stop wait";
    EXPECT_EQ(download.get(), HttpFetcher::kStopped);
    EXPECT_LT(Clock::now() - stop, std::chrono::milliseconds(1000));
    EXPECT_EQ(fetcher.running, 0);

    std::wstring text = L"unchanged";
    EXPECT_EQ(fetcher.FetchText(server.Url(L"version"), text), HttpFetcher::kStopped);
    EXPECT_TRUE(text == L"unchanged");
}

TEST_F(HttpFetcherTest, FetchBytesKeepsABinaryBodyWhole) {
    const std::string signature = Pattern(64);  // zeros among the bytes
    server.Serve(L"package.zip.sig", signature);
    std::string bytes = "unchanged";
    EXPECT_EQ(fetcher.FetchBytes(server.Url(L"package.zip.sig"), bytes), HttpFetcher::kDone);
    EXPECT_EQ(bytes, signature);
    bytes = "unchanged";
    EXPECT_EQ(fetcher.FetchBytes(server.Url(L"missing.sig"), bytes), HttpFetcher::kFailed);
    EXPECT_EQ(bytes, "unchanged");
}

// The system's proxy flag, as the fetcher is told it.
class ProxyStateFetcher : public HttpFetcher {
public:
    explicit ProxyStateFetcher(DWORD state) : state_(state) {}

protected:
    DWORD ConnectedState() const override { return state_; }

private:
    DWORD state_;
};

TEST_F(HttpFetcherTest, BothProxyChoicesReachTheServer) {
    server.Serve(L"version", "1.0.0.12");
    for (const DWORD state :
         {DWORD{INTERNET_CONNECTION_LAN | INTERNET_CONNECTION_PROXY}, DWORD{INTERNET_CONNECTION_LAN}, DWORD{0}}) {
        ProxyStateFetcher proxied(state);
        std::wstring text;
        EXPECT_EQ(proxied.FetchText(server.Url(L"version"), text), HttpFetcher::kDone) << std::hex << state;
        EXPECT_EQ(text, L"1.0.0.12") << std::hex << state;
    }
}

// A disk that fills up, or a file system that gives up, half-way through a download.
class WriteFailsAfter : public HttpFetcher {
public:
    explicit WriteFailsAfter(int goodPieces) : goodPieces_(goodPieces) {}

protected:
    bool WritePiece(HANDLE file, const char* piece, DWORD size) override {
        return goodPieces_-- > 0 && HttpFetcher::WritePiece(file, piece, size);
    }

private:
    int goodPieces_;
};

TEST_F(HttpFetcherTest, AWriteThatFailsAfterTheFileWasCreatedFails) {
    server.Serve(L"package.zip", Pattern(25000));
    for (const int goodPieces : {0, 1, 2}) {
        const std::wstring path = scratch.Wide() + L"package-" + std::to_wstring(goodPieces) + L".zip";
        WriteFailsAfter failing(goodPieces);
        EXPECT_EQ(failing.FetchToFile(server.Url(L"package.zip"), path, nullptr), HttpFetcher::kFailed) << goodPieces;
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(ReadWholeFile(path).size(), static_cast<std::size_t>(goodPieces) * 10240u) << goodPieces;
    }
}

TEST(UniqueInternetHandle, ClosesOnceAndKeepsTheCallersLastError) {
    HINTERNET raw = ::InternetOpenA("test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(raw, nullptr);
    {
        Thermolyx::UniqueInternetHandle first(raw);
        Thermolyx::UniqueInternetHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        ::SetLastError(ERROR_FILE_NOT_FOUND);
    }
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    char agent[32] = {};
    DWORD size = sizeof(agent);
    EXPECT_FALSE(::InternetQueryOptionA(raw, INTERNET_OPTION_USER_AGENT, agent, &size)) << "the handle is closed";
}

}  // namespace
