#include "update/updater_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>

#include "fake_display.h"
#include "pipeline/hid_device.h"
#include "local_http_server_win.h"
#include "message_recorder_win.h"
#include "temp_folder.h"
#include "test_files_win.h"
#include "update/update_folders_win.h"
#include "wait_until.h"
#include "worker_fixture_win.h"

using Thermolyx::kCommandCheckFirmwareAnswering;
using Thermolyx::kCommandCheckFirmwareQuiet;
using Thermolyx::kCommandCheckSoftwareAnswering;
using Thermolyx::kCommandCheckSoftwareQuiet;
using Thermolyx::kCommandDeviceScan;
using Thermolyx::kCommandInstallFirmware;
using Thermolyx::kCommandInstallSoftware;
using Thermolyx::kFetchProgressMessage;
using Thermolyx::UpdateFiles;
using Thermolyx::Updater;
using Thermolyx::UpdateSources;
using Thermolyx::UpdateTarget;

namespace {

using Message = MessageRecorder::Message;
using Messages = std::vector<Message>;

Message Result(WPARAM what, LPARAM newer) { return {WM_UPDATE_RESULT, what, newer}; }

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring DownloadFolder() { return GetWorkFolder() + L"\\temp\\"; }

// A package the build made (see make_package.py), as the server is to send it.
std::string Package(const std::string& name) {
    return ReadWholeFile(HostPathToWindows(std::string(UPDATE_TEST_PACKAGES) + "/" + name));
}

// Removes the download folder with everything in it, once a started installer has
// let go of its own file.
void RemoveDownloadFolder() {
    std::wstring from = GetWorkFolder() + L"\\temp";
    from.push_back(L'\0');  // a list of one, ended by an empty name
    WaitUntil([&] {
        SHFILEOPSTRUCTW operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NO_UI;
        ::SHFileOperationW(&operation);
        return !::PathIsDirectoryW(DownloadFolder().c_str());
    });
}

class UpdateCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.IsRunning());
        fake_display::Reset();
        RemoveDownloadFolder();
    }
    void TearDown() override {
        HidDevice::Instance().CloseAll();
        fake_display::Reset();
        RemoveDownloadFolder();
    }

    UpdateSources Sources() const { return {server.Url(L"sw/"), server.Url(L"fw/")}; }

    struct Outcome {
        Messages posted;
        std::wstring softwareVersion;
        std::wstring firmwareVersion;
    };
    // One command through the worker's dispatcher, on fresh update state.
    Outcome RunOnFreshCommands(WorkerCommand command) {
        MessageRecorder window;
        Updater fresh{window.Handle(), Sources(), [] {}};
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
    MessageRecorder recorder;
    int ended = 0;
    Updater commands{recorder.Handle(), Sources(), [this] { ++ended; }};
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
    Updater unreachable{recorder.Handle(), {RefusedUrl(L"sw/"), RefusedUrl(L"fw/")}, [] {}};
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
    EXPECT_EQ(ended, 0);
}

// The installs: download, unpack, start the installer inside, end the program.

TEST_F(UpdateCommandsTest, InstallStartsTheInstallerFromThePackageAndEndsTheProgram) {
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
        int endedHere = 0;
        Updater fresh{window.Handle(), Sources(), [&endedHere] { ++endedHere; }};
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

        const UpdateFiles files = MakeUpdateFiles(c.target, Widen(c.version), L"", GetWorkFolder());
        EXPECT_EQ(endedHere, 1) << c.package;
        // The installer makes its record unshared and then writes it: wait for the content.
        std::string recorded;
        ASSERT_TRUE(WaitUntil([&] { return !(recorded = ReadWholeFile(files.installerPath + L".ran")).empty(); }))
            << "the installer ran";
        const std::wstring commandLine(reinterpret_cast<const wchar_t*>(recorded.data()), recorded.size() / 2);
        EXPECT_NE(commandLine.find(files.installerName), std::wstring::npos) << c.package;
        EXPECT_FALSE(IsFile(files.packagePath)) << "an unpacked package is deleted";
        // The download went to the URL the server folder names, with its progress to the window.
        EXPECT_NE(server.Requests().find("GET /" + std::string(software ? "sw" : "fw") + "///" + c.package),
                  std::string::npos);
        window.Pump();
        const std::vector<LPARAM> progress = window.LParams(kFetchProgressMessage);
        ASSERT_GE(progress.size(), 4u);
        EXPECT_EQ((std::vector<LPARAM>(progress.begin(), progress.begin() + 3)), (std::vector<LPARAM>{2, 8, 10}));
        EXPECT_EQ(progress.back(), 100);
        worker.SetUpdateCommands(nullptr);
        RemoveDownloadFolder();
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
    const UpdateFiles files = MakeUpdateFiles(UpdateTarget::Software, L"1.0.1", L"", GetWorkFolder());
    for (const Case& c : cases) {
        if (!c.package.empty()) {
            server.Serve(L"sw\\Software-1.0.1.zip", c.package);
        } else {
            server.Withdraw(L"sw\\Software-1.0.1.zip");
        }
        // An installer left from an earlier package must not be started in its place.
        ASSERT_TRUE(CreateFolderTree(files.downloadFolder));
        ASSERT_TRUE(WriteTextFile(files.installerPath, "stale"));
        commands.RunUpdateCommand(kCommandInstallSoftware);
        EXPECT_EQ(ended, 0) << c.what;
        EXPECT_FALSE(IsFile(files.installerPath)) << c.what;
        EXPECT_FALSE(IsFile(files.packagePath)) << c.what << ": what was downloaded is removed";
        RemoveDownloadFolder();
    }
}

TEST_F(UpdateCommandsTest, AnInstallBeforeAnyCheckFetchesNothing) {
    commands.RunUpdateCommand(kCommandInstallSoftware);
    commands.RunUpdateCommand(kCommandInstallFirmware);
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(UpdateCommandsTest, AnInstallerThatCannotStartDoesNotEndTheProgram) {
    server.Serve(L"sw\\version", "1.0.0.13");
    server.Serve(L"sw\\Software-1.0.0.13.zip", Package("Software-1.0.0.13.zip"));
    commands.CheckSoftwareUpdate(false);
    commands.InstallSoftwareUpdate();
    EXPECT_EQ(ended, 0);
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
