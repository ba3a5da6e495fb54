#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>

#include "pipeline/command_queue.h"
#include "update/http_fetcher_win.h"
#include "pipeline/update_commands.h"
#include "update/update_files.h"
#include "update/update_sources.h"

// A check's answer to the main window: wParam 1 software, 2 firmware; lParam 1 when a
// newer version is available, 0 when not.
inline constexpr UINT WM_UPDATE_RESULT = WM_USER + 668;
namespace Thermolyx {

inline constexpr WPARAM kUpdateResultSoftware = 1;
inline constexpr WPARAM kUpdateResultFirmware = 2;

inline constexpr WorkerCommand kCommandCheckSoftwareAnswering = 3;
inline constexpr WorkerCommand kCommandCheckFirmwareAnswering = 4;
inline constexpr WorkerCommand kCommandCheckSoftwareQuiet = 5;
inline constexpr WorkerCommand kCommandCheckFirmwareQuiet = 6;
inline constexpr WorkerCommand kCommandInstallSoftware = 7;
inline constexpr WorkerCommand kCommandInstallFirmware = 8;

// Worker commands 3 to 8: the version checks, which answer the main window with
// WM_UPDATE_RESULT, and the installs, which download and unpack a package, start the
// installer inside and end the program. Runs on the worker thread only.
class Updater : public UpdateCommands {
public:
    // The program as shipped: the built-in update server, and a started installer
    // ends the process.
    explicit Updater(HWND mainWindow);
    // Another server, and another meaning of ending the program (tests).
    Updater(HWND mainWindow, UpdateSources sources, std::function<void()> endProgram);

    void RunUpdateCommand(WorkerCommand command) override;

    // An answering check posts its result whether newer or not; a quiet one only when newer.
    void CheckSoftwareUpdate(bool answering);
    void CheckFirmwareUpdate(bool answering);
    void InstallSoftwareUpdate();
    void InstallFirmwareUpdate();

    // The last accepted "version" texts, for the main window's prompt: written before
    // the result is posted, so read them once it has arrived. Empty until then (and
    // the firmware one from the start of every firmware check).
    std::wstring ServerSoftwareVersion() const;
    std::wstring ServerFirmwareVersion() const;

private:
    void Install(UpdateTarget target, const std::wstring& baseUrl, const std::wstring& serverVersion);
    void PostResult(WPARAM what, bool newer) const;
    void StoreVersion(std::wstring& version, const std::wstring& text);

    HWND mainWindow_;
    UpdateSources sources_;
    std::function<void()> endProgram_;
    mutable std::mutex versionsLock_;
    std::wstring serverSoftwareVersion_;
    std::wstring serverFirmwareVersion_;
    // Package downloads share one fetcher, so its progress carries over between them.
    HttpFetcher downloadFetcher_;
};

}  // namespace Thermolyx
