#pragma once

#include <windows.h>

#include <atomic>
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
// An installer has started in the program's place (wParam: 1 software, 2 firmware):
// the main window ends the program on its own thread.
inline constexpr UINT WM_UPDATE_STARTED = WM_USER + 669;

inline constexpr WorkerCommand kCommandCheckSoftwareAnswering = 3;
inline constexpr WorkerCommand kCommandCheckFirmwareAnswering = 4;
inline constexpr WorkerCommand kCommandCheckSoftwareQuiet = 5;
inline constexpr WorkerCommand kCommandCheckFirmwareQuiet = 6;
inline constexpr WorkerCommand kCommandInstallSoftware = 7;
inline constexpr WorkerCommand kCommandInstallFirmware = 8;

// Worker commands 3 to 8: the version checks, which answer the main window with
// WM_UPDATE_RESULT, and the installs, which download, check and unpack a package in a
// folder of their own, start the installer inside and tell the main window with
// WM_UPDATE_STARTED. Runs on the worker thread, but StopTransfers.
class Updater : public UpdateCommands {
public:
    // The program as shipped: the built-in update server, key and limits, staged in
    // the machine's program data.
    explicit Updater(HWND mainWindow);
    // Another server and another staging folder (tests).
    Updater(HWND mainWindow, UpdateSources sources, std::wstring stagingRoot);

    void RunUpdateCommand(WorkerCommand command) override;
    void StopTransfers() override;

    // An answering check posts its result whether newer or not; a quiet one only when newer.
    void CheckSoftwareUpdate(bool answering);
    void CheckFirmwareUpdate(bool answering);
    // True when the installer started; every failure on the way stops the install
    // where it is, and the program goes on running.
    bool InstallSoftwareUpdate();
    bool InstallFirmwareUpdate();

    // The last accepted "version" texts, for the main window's prompt: written before
    // the result is posted, so read them once it has arrived. Empty until then (and
    // the firmware one from the start of every firmware check).
    std::wstring ServerSoftwareVersion() const;
    std::wstring ServerFirmwareVersion() const;

private:
    bool Install(UpdateTarget target, const std::wstring& baseUrl, const std::wstring& serverVersion);
    // The version file's text; empty on any failure.
    std::wstring FetchVersionText(const std::wstring& baseUrl);
    void PostResult(WPARAM what, bool newer) const;
    void StoreVersion(std::wstring& version, const std::wstring& text);

    HWND mainWindow_;
    UpdateSources sources_;
    std::wstring stagingRoot_;
    mutable std::mutex versionsLock_;
    std::wstring serverSoftwareVersion_;
    std::wstring serverFirmwareVersion_;
    // Package downloads share one fetcher, so its progress carries over between them.
    HttpFetcher downloadFetcher_;
    // The check's own fetcher while one runs, for StopTransfers.
    std::mutex fetchersLock_;
    HttpFetcher* checkFetcher_ = nullptr;
    bool stopped_ = false;
};

}  // namespace Thermolyx
