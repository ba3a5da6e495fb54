#include "update/updater_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "base/win/handles.h"
#include "fake_display.h"
#include "pipeline/hid_device.h"
#include "local_http_server_win.h"
#include "message_recorder_win.h"
#include "temp_folder.h"
#include "test_files_win.h"
#include "directory_link_win.h"
#include "update/staging_folder_win.h"
#include "test_publisher_win.h"
#include "update/update_folders_win.h"
#include "wait_until.h"
#include "worker_fixture_win.h"

using Thermolyx::DeviceWorker;
using Thermolyx::kCommandCheckFirmwareAnswering;
using Thermolyx::kCommandCheckFirmwareQuiet;
using Thermolyx::kCommandCheckSoftwareAnswering;
using Thermolyx::kCommandCheckSoftwareQuiet;
using Thermolyx::kCommandDeviceScan;
using Thermolyx::kCommandInstallFirmware;
using Thermolyx::kCommandInstallSoftware;
using Thermolyx::kFetchProgressMessage;
using Thermolyx::ParsePublisherKey;
using Thermolyx::PrepareInstallFolder;
using Thermolyx::PublisherKey;
using Thermolyx::UpdateFiles;
using Thermolyx::Updater;
using Thermolyx::UpdateSources;
using Thermolyx::UpdateTarget;
using Thermolyx::WM_UPDATE_STARTED;

namespace {

using Message = MessageRecorder::Message;
using Messages = std::vector<Message>;

Message Result(WPARAM what, LPARAM newer) { return {WM_UPDATE_RESULT, what, newer}; }

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A package the build made (see make_package.py), as the server is to send it.
std::string Package(const std::string& name) {
    return ReadWholeFile(HostPathToWindows(std::string(UPDATE_TEST_PACKAGES) + "/" + name));
}

// The folders below the staging root, each ending in "\\".
std::vector<std::wstring> FoldersIn(const std::wstring& root) {
    std::vector<std::wstring> folders;
    WIN32_FIND_DATAW found = {};
    const Base::UniqueFindHandle search(::FindFirstFileW((root + L"*").c_str(), &found));
    if (!search) {
        return folders;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L".." && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            folders.push_back(root + name + L"\\");
        }
    } while (::FindNextFileW(search.Get(), &found));
    return folders;
}

class UpdateCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.IsRunning());
        fake_display::Reset();
    }
    void TearDown() override {
        HidDevice::Instance().CloseAll();
        fake_display::Reset();
        // A started installer lets go of its folder once it has ended.
        WaitUntil([&] { return PrepareInstallFolder(stagingRoot).empty() || FoldersIn(stagingRoot).size() <= 1; });
    }

    UpdateSources Sources() const { return {server.Url(L"sw/"), server.Url(L"fw/"), std::nullopt, {}}; }
    // Installs that started, as the main window hears of them.
    int Started(MessageRecorder& window) {
        window.Pump();
        return static_cast<int>(window.Received(WM_UPDATE_STARTED).size());
    }

    struct Outcome {
        Messages posted;
        std::wstring softwareVersion;
        std::wstring firmwareVersion;
    };
    // One command through the worker's dispatcher, on fresh update state.
    Outcome RunOnFreshCommands(WorkerCommand command) {
        MessageRecorder window;
        Updater fresh{window.Handle(), Sources(), stagingRoot};
        worker.SetUpdateCommands(&fresh);
        worker.QueueCommand(command);
        worker.Step();
        worker.SetUpdateCommands(nullptr);
        window.Pump();
        return {window.Received(WM_UPDATE_RESULT), fresh.ServerSoftwareVersion(), fresh.ServerFirmwareVersion()};
    }

    void ScanForDisplays() {
        worker.QueueCommand(kCommandDeviceScan);
        worker.Step();
    }

    // What the shared commands' window has received so far.
    Messages Results() {
        recorder.Pump();
        return recorder.Received(WM_UPDATE_RESULT);
    }

    LocalHttpServer server;
    TempFolder scratch;
    const std::wstring stagingRoot = scratch.Wide() + L"staging\\";
    MessageRecorder recorder;
    Updater commands{recorder.Handle(), Sources(), stagingRoot};
    RecordingWindow pipelineWindow;
    TestWorker worker{pipelineWindow};
};

TEST_F(UpdateCommandsTest, SoftwareChecksAnswerAsTheirFormSays) {
    struct Case {
        std::string serverText;
        Messages answering;  // command 3
        Messages quiet;      // command 5
    };
    const Case cases[] = {
        {"1.0.0.2", {Result(1, 0)}, {}},
        {"1.0.0.10", {Result(1, 1)}, {Result(1, 1)}},
        {"1.0.1", {Result(1, 1)}, {Result(1, 1)}},  // three parts against four count as newer
        {"0.9.9.9", {Result(1, 0)}, {}},
    };
    for (const Case& c : cases) {
        server.Serve(L"sw\\version", c.serverText);
        const Outcome answering = RunOnFreshCommands(kCommandCheckSoftwareAnswering);
        EXPECT_EQ(answering.posted, c.answering) << c.serverText;
        EXPECT_EQ(answering.softwareVersion, Widen(c.serverText));
        EXPECT_EQ(RunOnFreshCommands(kCommandCheckSoftwareQuiet).posted, c.quiet) << c.serverText;
    }
}

TEST_F(UpdateCommandsTest, AVersionTextThatIsNotAcceptedIsIgnoredEntirely) {
    server.Serve(L"sw\\version", "1.0.0.10");
    commands.CheckSoftwareUpdate(true);
    ASSERT_EQ(commands.ServerSoftwareVersion(), L"1.0.0.10");

    const std::string rejected[] = {
        "1.0.0.10000",  // eleven characters
        "..\\..\\x",    // would become a path
        "1.0/../../x", "1.0.0.3\r\n", "",
    };
    for (const std::string& text : rejected) {
        server.Serve(L"sw\\version", text);
        commands.CheckSoftwareUpdate(true);
        commands.CheckSoftwareUpdate(false);
        EXPECT_EQ(commands.ServerSoftwareVersion(), L"1.0.0.10") << text;
    }
    // An error status, whatever its body, and no server at all.
    server.Serve(L"sw\\version", "9.9");
    server.Serve(L"sw\\version.status", "503");
    commands.CheckSoftwareUpdate(true);
    EXPECT_EQ(commands.ServerSoftwareVersion(), L"1.0.0.10");
    Updater unreachable{recorder.Handle(), {RefusedUrl(L"sw/"), RefusedUrl(L"fw/"), std::nullopt, {}}, stagingRoot};
    unreachable.CheckSoftwareUpdate(true);
    unreachable.CheckFirmwareUpdate(true);

    EXPECT_EQ(Results(), (Messages{Result(1, 1)})) << "only the first, accepted text answered";
}

TEST_F(UpdateCommandsTest, FirmwareChecksCompareWithTheDisplaysVersion) {
    const int display = fake_display::Plug();
    fake_display::SetVersion(display, 0x01, 0x05);
    ScanForDisplays();
    struct Case {
        std::string serverText;
        Messages answering;  // command 4
        Messages quiet;      // command 6
    };
    const Case cases[] = {
        {"106", {Result(2, 1)}, {Result(2, 1)}},
        {"105", {Result(2, 0)}, {}},
        {"99", {Result(2, 0)}, {}},
    };
    for (const Case& c : cases) {
        server.Serve(L"fw\\version", c.serverText);
        const Outcome answering = RunOnFreshCommands(kCommandCheckFirmwareAnswering);
        EXPECT_EQ(answering.posted, c.answering) << c.serverText;
        EXPECT_EQ(answering.firmwareVersion, Widen(c.serverText));
        EXPECT_EQ(RunOnFreshCommands(kCommandCheckFirmwareQuiet).posted, c.quiet) << c.serverText;
    }
}

TEST_F(UpdateCommandsTest, WithoutADisplayNoFirmwareIsNewer) {
    server.Serve(L"fw\\version", "106");
    // Before any scan, and after a scan that found nothing.
    EXPECT_EQ(RunOnFreshCommands(kCommandCheckFirmwareAnswering).posted, (Messages{Result(2, 0)}));
    ScanForDisplays();
    EXPECT_EQ(RunOnFreshCommands(kCommandCheckFirmwareAnswering).posted, (Messages{Result(2, 0)}));
    EXPECT_TRUE(RunOnFreshCommands(kCommandCheckFirmwareQuiet).posted.empty());
}

// Its unanswered request must not read as firmware 0xFD00 ("fd00", taken as 0), which
// every server version would beat: a prompt at every start.
TEST_F(UpdateCommandsTest, ADisplayThatDoesNotAnswerGetsNoFirmwarePrompt) {
    const int display = fake_display::Plug();
    fake_display::SetReadFails(display, true);
    ScanForDisplays();
    server.Serve(L"fw\\version", "106");
    EXPECT_TRUE(RunOnFreshCommands(kCommandCheckFirmwareQuiet).posted.empty());
    EXPECT_EQ(RunOnFreshCommands(kCommandCheckFirmwareAnswering).posted, (Messages{Result(2, 0)}));
}

TEST_F(UpdateCommandsTest, AFirmwareCheckForgetsTheLastVersionFirst) {
    server.Serve(L"fw\\version", "106");
    commands.CheckFirmwareUpdate(false);
    ASSERT_EQ(commands.ServerFirmwareVersion(), L"106");
    const std::string rejected[] = {"1.0", "0x106", "106\n", "12345678901"};
    for (const std::string& text : rejected) {
        server.Serve(L"fw\\version", text);
        commands.CheckFirmwareUpdate(true);
        EXPECT_EQ(commands.ServerFirmwareVersion(), L"") << text;
        commands.CheckFirmwareUpdate(false);  // and the install that might follow has nothing to fetch
        commands.InstallFirmwareUpdate();
    }
    EXPECT_TRUE(Results().empty());
    EXPECT_EQ(server.Requests().find("FirmwareUpdateTool"), std::string::npos);
    EXPECT_EQ(Started(recorder), 0);
}

// The installs: download, check and unpack in a folder of their own, start the
// installer inside, and tell the main window.

// The installer that ran in `folder`, by the marker it leaves beside itself: its
// command line, so an empty marker is one still being written.
bool InstallerRanIn(const std::wstring& folder, const std::wstring& installerName) {
    return !ReadWholeFile(folder + installerName + L".ran").empty();
}

TEST_F(UpdateCommandsTest, InstallStartsTheInstallerFromAFolderOfItsOwnAndTellsTheWindow) {
    struct Case {
        UpdateTarget target;
        std::string version;
        std::string package;
    };
    const Case cases[] = {
        {UpdateTarget::Software, "1.0.0.10", "Software-1.0.0.10.zip"},
        {UpdateTarget::Firmware, "106", "FirmwareUpdateTool-106.zip"},
    };
    for (const Case& c : cases) {
        const bool software = c.target == UpdateTarget::Software;
        const std::wstring folder = software ? L"sw\\" : L"fw\\";
        server.Serve(folder + L"version", c.version);
        server.Serve(folder + Widen(c.package), Package(c.package));
        MessageRecorder window;
        Updater fresh{window.Handle(), Sources(), stagingRoot};
        worker.SetUpdateCommands(&fresh);
        fake_display::Reset();
        fake_display::SetVersion(fake_display::Plug(), 0x01, 0x05);
        ScanForDisplays();
        worker.QueueCommand(software ? kCommandCheckSoftwareQuiet : kCommandCheckFirmwareQuiet);
        worker.QueueCommand(software ? kCommandInstallSoftware : kCommandInstallFirmware);
        worker.Step();
        window.Pump();
        EXPECT_EQ(window.Received(WM_UPDATE_RESULT), (Messages{Result(software ? 1 : 2, 1)}));
        worker.Step();
        window.Pump();

        EXPECT_EQ(window.Received(WM_UPDATE_STARTED), (Messages{{WM_UPDATE_STARTED, software ? 1u : 2u, 0}}));
        const std::vector<std::wstring> installs = FoldersIn(stagingRoot);
        ASSERT_EQ(installs.size(), 1u) << "earlier installs are removed";
        const UpdateFiles files = MakeUpdateFiles(c.target, Widen(c.version), L"", installs[0]);
        ASSERT_TRUE(WaitUntil([&] { return InstallerRanIn(installs[0], files.installerName); })) << c.package;
        const std::string recorded = ReadWholeFile(files.installerPath + L".ran");
        const std::wstring commandLine(reinterpret_cast<const wchar_t*>(recorded.data()), recorded.size() / 2);
        EXPECT_NE(commandLine.find(files.installerName), std::wstring::npos) << c.package;
        EXPECT_FALSE(IsFile(files.packagePath)) << "an unpacked package is deleted";
        // One slash between the server folder and the package name.
        EXPECT_NE(server.Requests().find("GET /" + std::string(software ? "sw" : "fw") + "/" + c.package + " HTTP"),
                  std::string::npos)
            << server.Requests();
        const std::vector<LPARAM> progress = window.LParams(kFetchProgressMessage);
        ASSERT_GE(progress.size(), 4u);
        EXPECT_EQ((std::vector<LPARAM>(progress.begin(), progress.begin() + 3)), (std::vector<LPARAM>{2, 8, 10}));
        EXPECT_EQ(progress.back(), 100);
        worker.SetUpdateCommands(nullptr);
    }
}

TEST_F(UpdateCommandsTest, AnInstallWithoutAnInstallerKeepsTheProgramRunning) {
    struct Case {
        const char* what;
        std::string package;  // served as Software-1.0.1.zip; empty: not on the server
    };
    const Case cases[] = {
        {"the installer lies in a sub-folder", Package("Software-1.0.1.zip")},
        {"the installer's data is damaged", Package("Software-1.0.1-damaged.zip")},
        {"not an archive", "<html>not a package</html>"},
        {"no package on the server", ""},
    };
    server.Serve(L"sw\\version", "1.0.1");
    commands.CheckSoftwareUpdate(false);
    ASSERT_EQ(commands.ServerSoftwareVersion(), L"1.0.1");
    for (const Case& c : cases) {
        if (!c.package.empty()) {
            server.Serve(L"sw\\Software-1.0.1.zip", c.package);
        } else {
            server.Withdraw(L"sw\\Software-1.0.1.zip");
        }
        EXPECT_FALSE(commands.InstallSoftwareUpdate()) << c.what;
        EXPECT_EQ(Started(recorder), 0) << c.what;
    }
}

TEST_F(UpdateCommandsTest, FilesPlantedWhereInstallsHappenAreNeverStarted) {
    // An earlier install folder and the staging root itself, holding a real package and
    // a real program under the names the next install uses; the staging root made by
    // someone else before the program, one planted file read-only, one held open.
    const std::wstring earlier = stagingRoot + L"install-1-1-0\\";
    ASSERT_TRUE(CreateFolderTree(earlier));
    const std::string planted = Package("Software-1.0.0.10.zip");
    const std::string program = ReadWholeFile(HostPathToWindows(UPDATE_TEST_INSTALLER));
    for (const std::wstring& folder : {stagingRoot, earlier}) {
        ASSERT_TRUE(WriteTextFile(folder + L"Software-1.0.0.10.zip", planted));
        ASSERT_TRUE(WriteTextFile(folder + L"Software-1.0.0.10.exe", program));
    }
    ::SetFileAttributesW((stagingRoot + L"Software-1.0.0.10.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW((stagingRoot + L"Software-1.0.0.10.zip").c_str(), FILE_ATTRIBUTE_READONLY);
    const Base::UniqueFileHandle locked(::CreateFileW((earlier + L"Software-1.0.0.10.exe").c_str(), GENERIC_READ, 0,
                                                      nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);

    server.Serve(L"sw\\version", "1.0.0.10");
    commands.CheckSoftwareUpdate(false);
    struct Case {
        const char* what;
        std::string package;  // empty: not on the server
    };
    const Case refused[] = {{"no package on the server", ""}, {"not an archive", "<html>moved</html>"}};
    for (const Case& c : refused) {
        if (c.package.empty()) {
            server.Withdraw(L"sw\\Software-1.0.0.10.zip");
        } else {
            server.Serve(L"sw\\Software-1.0.0.10.zip", c.package);
        }
        EXPECT_FALSE(commands.InstallSoftwareUpdate()) << c.what;
        EXPECT_EQ(Started(recorder), 0) << c.what;
    }
    // With the real package on the server, only its own installer runs.
    server.Serve(L"sw\\Software-1.0.0.10.zip", Package("Software-1.0.0.10.zip"));
    EXPECT_TRUE(commands.InstallSoftwareUpdate());
    EXPECT_EQ(Started(recorder), 1);
    std::wstring fresh;
    for (const std::wstring& folder : FoldersIn(stagingRoot)) {
        if (folder != earlier) {
            fresh = folder;
        }
    }
    ASSERT_FALSE(fresh.empty());
    EXPECT_TRUE(WaitUntil([&] { return InstallerRanIn(fresh, L"Software-1.0.0.10.exe"); }));
    ::Sleep(500);
    EXPECT_FALSE(InstallerRanIn(stagingRoot, L"Software-1.0.0.10.exe"));
    EXPECT_FALSE(InstallerRanIn(earlier, L"Software-1.0.0.10.exe"));
    EXPECT_FALSE(IsFile(stagingRoot + L"Software-1.0.0.10.exe")) << "what lay in the staging root is removed";
}

TEST_F(UpdateCommandsTest, ALinkOnTheStagingPathRefusesTheInstall) {
    const std::wstring target = scratch.Wide() + L"elsewhere\\";
    ASSERT_TRUE(CreateFolderTree(target));
    const std::wstring link = scratch.Wide() + L"link";
    const DirectoryLink made(link, target);
    ASSERT_TRUE(made.IsMade());
    server.Serve(L"sw\\version", "1.0.0.10");
    server.Serve(L"sw\\Software-1.0.0.10.zip", Package("Software-1.0.0.10.zip"));
    for (const std::wstring& root : {link + L"\\", link + L"\\staging\\"}) {
        Updater linked{recorder.Handle(), Sources(), root};
        linked.CheckSoftwareUpdate(false);
        EXPECT_FALSE(linked.InstallSoftwareUpdate()) << root;
    }
    EXPECT_EQ(Started(recorder), 0);
    EXPECT_EQ(server.Requests().find("Software-1.0.0.10.zip"), std::string::npos) << "nothing was fetched";
    EXPECT_TRUE(FoldersIn(target).empty()) << "nothing was made through the link";
}

TEST_F(UpdateCommandsTest, WithAPublisherKeyOnlyAPackageWithItsValidSignatureInstalls) {
    const TestPublisher publisher;
    const TestPublisher stranger;
    const std::string package = Package("Software-1.0.0.10.zip");
    std::string tampered = package;
    tampered[tampered.size() / 2] ^= 0x01;
    struct Case {
        const char* what;
        std::string package;
        std::string signature;  // empty: no signature on the server
        bool installs;
    };
    const Case cases[] = {
        {"signed by the publisher", package, publisher.Sign(package), true},
        {"changed after signing", tampered, publisher.Sign(package), false},
        {"no signature", package, "", false},
        {"signed with another key", package, stranger.Sign(package), false},
        {"a signature cut short", package, publisher.Sign(package).substr(0, 63), false},
        {"a signature of the changed package by another key", tampered, stranger.Sign(tampered), false},
    };
    ASSERT_EQ(publisher.Sign(package).size(), 64u);
    UpdateSources sources = Sources();
    sources.publisherKey = publisher.Key();
    server.Serve(L"sw\\version", "1.0.0.10");
    for (const Case& c : cases) {
        server.Serve(L"sw\\Software-1.0.0.10.zip", c.package);
        if (c.signature.empty()) {
            server.Withdraw(L"sw\\Software-1.0.0.10.zip.sig");
        } else {
            server.Serve(L"sw\\Software-1.0.0.10.zip.sig", c.signature);
        }
        MessageRecorder window;
        Updater signedOnly{window.Handle(), sources, stagingRoot};
        signedOnly.CheckSoftwareUpdate(false);
        EXPECT_EQ(signedOnly.InstallSoftwareUpdate(), c.installs) << c.what;
        EXPECT_EQ(Started(window), c.installs ? 1 : 0) << c.what;
        const std::vector<std::wstring> installs = FoldersIn(stagingRoot);
        ASSERT_EQ(installs.size(), 1u);
        if (c.installs) {
            EXPECT_TRUE(WaitUntil([&] { return InstallerRanIn(installs[0], L"Software-1.0.0.10.exe"); }));
        } else {
            EXPECT_FALSE(IsFile(installs[0] + L"Software-1.0.0.10.exe")) << c.what << ": nothing was extracted";
        }
    }
}

TEST_F(UpdateCommandsTest, APackageSignedWithThePublisherScriptInstalls) {
    // Key and signature made at build time by scripts/sign-package.sh (openssl).
    const std::optional<PublisherKey> key = ParsePublisherKey(Package("publisher-test-key.hex").substr(0, 130));
    ASSERT_TRUE(key);
    UpdateSources sources = Sources();
    sources.publisherKey = key;
    server.Serve(L"sw\\version", "1.0.0.10");
    server.Serve(L"sw\\Software-1.0.0.10.zip", Package("Software-1.0.0.10.zip"));
    server.Serve(L"sw\\Software-1.0.0.10.zip.sig", Package("Software-1.0.0.10.zip.sig"));
    Updater signedOnly{recorder.Handle(), sources, stagingRoot};
    signedOnly.CheckSoftwareUpdate(false);
    EXPECT_TRUE(signedOnly.InstallSoftwareUpdate());
    EXPECT_EQ(Started(recorder), 1);
}

TEST_F(UpdateCommandsTest, APackageOverItsCapIsRefused) {
    UpdateSources sources = Sources();
    sources.limits.fileBytes = Package("Software-1.0.0.10.zip").size() - 1;
    server.Serve(L"sw\\version", "1.0.0.10");
    server.Serve(L"sw\\Software-1.0.0.10.zip", Package("Software-1.0.0.10.zip"));
    Updater capped{recorder.Handle(), sources, stagingRoot};
    capped.CheckSoftwareUpdate(false);
    EXPECT_FALSE(capped.InstallSoftwareUpdate());
    EXPECT_EQ(Started(recorder), 0);
}

TEST_F(UpdateCommandsTest, StoppingTheWorkerCutsASlowDownloadShort) {
    server.Serve(L"sw\\version", "1.0.0.10");
    server.Serve(L"sw\\Software-1.0.0.10.zip", Package("Software-1.0.0.10.zip"));
    server.Serve(L"sw\\Software-1.0.0.10.zip.slow", "4000 50");  // 80 KB/s, a slow line
    commands.CheckSoftwareUpdate(false);
    worker.SetUpdateCommands(&commands);
    worker.QueueCommand(kCommandInstallSoftware);
    worker.StartThread(DeviceWorker::kStepPauseMs, true);
    ASSERT_TRUE(WaitUntil([&] {
        recorder.Pump();
        return recorder.LParams(kFetchProgressMessage).size() >= 4;  // reading the body
    }));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.StopThread()) << "the worker ended within the stop's wait";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    worker.SetUpdateCommands(nullptr);
    EXPECT_EQ(Started(recorder), 0);
    // Stopped for good: a later install fetches nothing.
    EXPECT_FALSE(commands.InstallSoftwareUpdate());
}

TEST_F(UpdateCommandsTest, AHostileVersionAnswerFailsTheCheckAndTheWorkerGoesOn) {
    UpdateSources sources = Sources();
    sources.limits.textDeadlineMs = 2'000;
    server.Serve(L"sw\\version", std::string(1 << 20, '1'));  // 1 MB
    server.Serve(L"fw\\version", "106");
    server.Serve(L"fw\\version.slow", "1 1500");  // a byte every 1.5 s
    Updater hostile{recorder.Handle(), sources, stagingRoot};
    worker.SetUpdateCommands(&hostile);
    worker.QueueCommand(kCommandCheckSoftwareAnswering);
    worker.QueueCommand(kCommandCheckFirmwareAnswering);
    worker.StartThread(DeviceWorker::kStepPauseMs, true);
    // Both checks, then ticks.
    EXPECT_TRUE(WaitUntil([&] { return worker.steps >= 4; }, std::chrono::seconds(15)));
    EXPECT_TRUE(worker.StopThread());
    worker.SetUpdateCommands(nullptr);
    EXPECT_TRUE(Results().empty());
    EXPECT_EQ(hostile.ServerSoftwareVersion(), L"");
    EXPECT_EQ(hostile.ServerFirmwareVersion(), L"");
}

TEST_F(UpdateCommandsTest, AnInstallBeforeAnyCheckFetchesNothing) {
    EXPECT_FALSE(commands.InstallSoftwareUpdate());
    EXPECT_FALSE(commands.InstallFirmwareUpdate());
    EXPECT_EQ(Started(recorder), 0);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(UpdateCommandsTest, AnInstallerThatCannotStartDoesNotEndTheProgram) {
    server.Serve(L"sw\\version", "1.0.0.13");
    server.Serve(L"sw\\Software-1.0.0.13.zip", Package("Software-1.0.0.13.zip"));
    commands.CheckSoftwareUpdate(false);
    EXPECT_FALSE(commands.InstallSoftwareUpdate());
    EXPECT_EQ(Started(recorder), 0);
}

TEST(UpdateFolders, WorkFolderLiesInTheLocalApplicationData) {
    wchar_t localAppData[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, localAppData)));
    EXPECT_EQ(GetWorkFolder(), std::wstring(localAppData) + L"\\Caloryn Files\\");
}

TEST(UpdateFolders, CreateFolderTreeMakesEveryFolderOnTheWay) {
    TempFolder scratch;
    const std::wstring deep = scratch.Wide() + L"a\\b\\\\temp\\c";
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(::PathIsDirectoryW(deep.c_str()));
    EXPECT_TRUE(CreateFolderTree(deep)) << "an existing folder";
    EXPECT_TRUE(CreateFolderTree(deep + L"\\")) << "with a trailing separator";

    ASSERT_TRUE(WriteTextFile(scratch.Wide() + L"file", "x"));
    EXPECT_FALSE(CreateFolderTree(scratch.Wide() + L"file\\below")) << "a file on the way";
    EXPECT_FALSE(CreateFolderTree(scratch.Wide() + L"bad<name"));
}

}  // namespace
