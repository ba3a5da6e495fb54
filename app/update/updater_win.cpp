#include "update/updater_win.h"

#include <shellapi.h>

#include <cstdlib>
#include <utility>

#include "base/product.h"
#include "base/win/delete_file_win.h"
#include "update/zip/extract_zip.h"
#include "pipeline/hid_device.h"
#include "update/update_folders_win.h"
#include "update/version_text.h"

namespace Thermolyx {

namespace {

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

Updater::Updater(HWND mainWindow)
    // The normal process exit: static objects go (the displays are closed), but none of
    // the main window's own shutdown runs.
    : Updater(mainWindow, BuiltInUpdateSources(), [] { std::exit(0); }) {}

Updater::Updater(HWND mainWindow, UpdateSources sources, std::function<void()> endProgram)
    : mainWindow_(mainWindow), sources_(std::move(sources)), endProgram_(std::move(endProgram)) {}

void Updater::RunUpdateCommand(WorkerCommand command) {
    switch (command) {
        case kCommandCheckSoftwareAnswering:
            CheckSoftwareUpdate(true);
            break;
        case kCommandCheckFirmwareAnswering:
            CheckFirmwareUpdate(true);
            break;
        case kCommandCheckSoftwareQuiet:
            CheckSoftwareUpdate(false);
            break;
        case kCommandCheckFirmwareQuiet:
            CheckFirmwareUpdate(false);
            break;
        case kCommandInstallSoftware:
            InstallSoftwareUpdate();
            break;
        case kCommandInstallFirmware:
            InstallFirmwareUpdate();
            break;
        default:
            break;
    }
}

void Updater::CheckSoftwareUpdate(bool answering) {
    std::wstring text;
    HttpFetcher().FetchText(VersionUrl(sources_.softwareBaseUrl), text);  // a failure leaves the text empty
    if (!IsAcceptedSoftwareVersion(text)) {
        return;
    }
    StoreVersion(serverSoftwareVersion_, text);
    const bool newer = CompareVersions(Base::kProductVersion, text) >= 1;
    if (answering || newer) {
        PostResult(kUpdateResultSoftware, newer);
    }
}

void Updater::CheckFirmwareUpdate(bool answering) {
    StoreVersion(serverFirmwareVersion_, L"");
    std::wstring text;
    HttpFetcher().FetchText(VersionUrl(sources_.firmwareBaseUrl), text);
    if (!IsAcceptedFirmwareVersion(text)) {
        return;
    }
    StoreVersion(serverFirmwareVersion_, text);
    std::int32_t version = -1;
    HidDevice::Instance().ReadFirmwareVersion(version);  // no display leaves -1: never newer
    const bool newer = IsFirmwareNewer(text, version);
    if (answering || newer) {
        PostResult(kUpdateResultFirmware, newer);
    }
}

void Updater::InstallSoftwareUpdate() {
    Install(UpdateTarget::Software, sources_.softwareBaseUrl, ServerSoftwareVersion());
}

void Updater::InstallFirmwareUpdate() {
    Install(UpdateTarget::Firmware, sources_.firmwareBaseUrl, ServerFirmwareVersion());
}

std::wstring Updater::ServerSoftwareVersion() const {
    std::lock_guard guard(versionsLock_);
    return serverSoftwareVersion_;
}

std::wstring Updater::ServerFirmwareVersion() const {
    std::lock_guard guard(versionsLock_);
    return serverFirmwareVersion_;
}

void Updater::Install(UpdateTarget target, const std::wstring& baseUrl, const std::wstring& serverVersion) {
    const std::wstring workFolder = GetWorkFolder();
    if (serverVersion.empty() || workFolder.empty()) {
        return;  // no accepted version to fetch, or nowhere to put it
    }
    const UpdateFiles files = MakeUpdateFiles(target, serverVersion, baseUrl, workFolder);
    CreateFolderTree(files.downloadFolder);
    Base::DeleteFileIfPresent(files.packagePath);
    // Whatever sits at the installer path now is from an earlier package; only what
    // this package brings may be started.
    Base::DeleteFileIfPresent(files.installerPath);

    downloadFetcher_.FetchToFile(files.downloadUrl, files.packagePath, mainWindow_);
    if (!IsFile(files.packagePath)) {
        return;
    }
    if (ExtractZipToFolder(files.packagePath, files.downloadFolder)) {
        Base::DeleteFileIfPresent(files.packagePath);
    }
    if (!IsFile(files.installerPath)) {
        // Not a package, or one without its installer: keep the program running.
        Base::DeleteFileIfPresent(files.packagePath);
        return;
    }
    const auto started = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", files.installerPath.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (started <= 32) {
        return;  // nothing runs in our place, so the program stays
    }
    endProgram_();
}

void Updater::PostResult(WPARAM what, bool newer) const {
    ::PostMessageW(mainWindow_, WM_UPDATE_RESULT, what, newer ? 1 : 0);
}

void Updater::StoreVersion(std::wstring& version, const std::wstring& text) {
    std::lock_guard guard(versionsLock_);
    version = text;
}

}  // namespace Thermolyx
