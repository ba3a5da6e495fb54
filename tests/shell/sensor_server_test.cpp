#include "shell/sensor_server_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/win/handles.h"
#include "process_list_win.h"
#include "temp_folder.h"
#include "test_files_win.h"
#include "shell/server_watch.h"
#include "wait_until.h"

namespace {

using testing::ElementsAre;
using testing::Field;
using testing::IsEmpty;
using testing::SizeIs;

// A scratch folder laid out as the program's folder, with both server builds.
class ProgramFolderWithServers : public testing::Test {
protected:
    void SetUp() override {
        for (const auto& [build, exe] :
             {std::pair{L"Sensovo", SENSOR_SERVER_EXE}, {L"SensovoWin7", SENSOR_SERVER_WIN7_EXE}}) {
            const std::wstring buildFolder = folder.Wide() + build;
            ASSERT_TRUE(::CreateDirectoryW(buildFolder.c_str(), nullptr));
            ASSERT_TRUE(
                ::CopyFileW(HostPathToWindows(exe).c_str(), (buildFolder + L"\\SensovoServer.exe").c_str(), FALSE));
        }
    }

    std::vector<ProcessImage> WaitForServers(std::size_t count) {
        std::vector<ProcessImage> found;
        WaitUntil([&] { return (found = ProcessesUnder(folder.Wide())).size() >= count; });
        return found;
    }

    TempFolder folder;
    // Declared after the folder: the servers end before their files are removed.
    struct Reaper {
        const TempFolder& folder;
        ~Reaper() { EndProcessesUnder(folder.Wide()); }
    } reaper{folder};
};

TEST_F(ProgramFolderWithServers, StartsTheBuildThatFitsTheWindowsVersion) {
    for (const bool win10OrLater : {true, false}) {
        LaunchSensorServer(folder.Wide(), win10OrLater);
        const std::wstring expected =
            folder.Wide() + (win10OrLater ? L"Sensovo" : L"SensovoWin7") + L"\\SensovoServer.exe";
        EXPECT_THAT(WaitForServers(1), ElementsAre(Field(&ProcessImage::path, expected)));
        EndProcessesUnder(folder.Wide());
    }
}

TEST_F(ProgramFolderWithServers, SecondLaunchStartsAnotherServer) {
    LaunchSensorServer(folder.Wide(), true);
    ASSERT_THAT(WaitForServers(1), SizeIs(1));
    LaunchSensorServer(folder.Wide(), true);
    EXPECT_THAT(WaitForServers(2), SizeIs(2));
}

TEST_F(ProgramFolderWithServers, MissingServerStartsNothing) {
    ASSERT_TRUE(::DeleteFileW((folder.Wide() + L"SensovoWin7\\SensovoServer.exe").c_str()));
    LaunchSensorServer(folder.Wide(), false);
    ::Sleep(500);
    EXPECT_THAT(ProcessesUnder(folder.Wide()), IsEmpty());
}

// A program folder with a blank in it: the first word followed by ".exe" must not be
// what starts (it would run with the program's administrator rights).
TEST_F(ProgramFolderWithServers, FolderWithABlankStartsTheServerNotAPlantedProgram) {
    const std::wstring programFolder = folder.Wide() + L"pro gram\\";
    ASSERT_TRUE(::CreateDirectoryW(programFolder.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((programFolder + L"Sensovo").c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW((folder.Wide() + L"Sensovo\\SensovoServer.exe").c_str(),
                            (programFolder + L"Sensovo\\SensovoServer.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW((folder.Wide() + L"Sensovo\\SensovoServer.exe").c_str(),
                            (folder.Wide() + L"pro.exe").c_str(), FALSE));
    LaunchSensorServer(programFolder, true);
    EXPECT_THAT(WaitForServers(1),
                ElementsAre(Field(&ProcessImage::path, programFolder + L"Sensovo\\SensovoServer.exe")));
}

// Copies of the server under a name no other process has, started by the test.
class NamedProbes : public ProgramFolderWithServers {
protected:
    void SetUp() override {
        ProgramFolderWithServers::SetUp();
        name = L"ShellKillProbe" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
        const std::wstring exe = folder.Wide() + name;
        ASSERT_TRUE(::CopyFileW((folder.Wide() + L"Sensovo\\SensovoServer.exe").c_str(), exe.c_str(), FALSE));
        for (auto& probe : probes) {
            STARTUPINFOW startup = {};
            startup.cb = sizeof(startup);
            PROCESS_INFORMATION info = {};
            std::wstring commandLine = L"\"" + exe + L"\"";
            ASSERT_TRUE(::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                         &startup, &info));
            probe.Reset(info.hProcess);
            Base::UniqueHandle thread(info.hThread);
        }
        ASSERT_THAT(WaitForServers(2), SizeIs(2));
    }

    bool Running(std::size_t probe) { return ::WaitForSingleObject(probes[probe].Get(), 0) == WAIT_TIMEOUT; }

    std::wstring name;
    Base::UniqueHandle probes[2];
};

// Copies left over from earlier runs go too, whatever the letter case.
TEST_F(NamedProbes, StopsEveryProcessOfThatNameWhateverItsCase) {
    std::wstring upper = name;
    ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    EXPECT_TRUE(IsProcessRunning(upper.c_str()));

    EXPECT_TRUE(KillProcessByName(upper.c_str()));
    for (auto& probe : probes) {
        ASSERT_EQ(::WaitForSingleObject(probe.Get(), 5000), WAIT_OBJECT_0);
        DWORD exitCode = 1;
        ::GetExitCodeProcess(probe.Get(), &exitCode);
        EXPECT_EQ(exitCode, 0u);
    }
    EXPECT_FALSE(IsProcessRunning(name.c_str()));
}

TEST_F(NamedProbes, StopsNothingWhenNoNameMatches) {
    // A name that only starts like the probes' does not match either.
    for (const std::wstring& other :
         {std::wstring(L"NoSuchProcess.exe"), name.substr(0, name.size() - 4), name + L"x"}) {
        EXPECT_TRUE(KillProcessByName(other.c_str()));
    }
    ::Sleep(200);
    EXPECT_TRUE(Running(0));
    EXPECT_TRUE(Running(1));
    EXPECT_FALSE(IsProcessRunning(L"NoSuchProcess.exe"));
}

// The watch as the main window's timers drive it, with real server processes. The
// name test is scoped to the scratch folder so servers of other tests do not count.
TEST_F(ProgramFolderWithServers, WatchKeepsExactlyOneServerRunning) {
    ServerWatch watch([&] { return !ProcessesUnder(folder.Wide()).empty(); },
                      [&] { LaunchSensorServer(folder.Wide(), true); });
    SensorBlock block = {};
    block.usage = 0.0f;  // an idle processor
    EXPECT_FALSE(watch.Fire(&block));
    ASSERT_THAT(WaitForServers(1), SizeIs(1));
    for (int firing = 2; firing <= 11; ++firing) {
        EXPECT_FALSE(watch.Fire(&block));
    }
    EXPECT_TRUE(watch.Fire(&block));
    ::Sleep(300);
    EXPECT_THAT(ProcessesUnder(folder.Wide()), SizeIs(1));

    // A server that dies later is started again by the slow watch, and only once.
    EndProcessesUnder(folder.Wide());
    watch.FireSlow();
    ASSERT_THAT(WaitForServers(1), SizeIs(1));
    watch.FireSlow();
    ::Sleep(300);
    EXPECT_THAT(ProcessesUnder(folder.Wide()), SizeIs(1));
}

}  // namespace
