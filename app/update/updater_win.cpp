#include "update/updater_win.h"

#include <shellapi.h>

#include <memory>
#include <utility>

#include "base/product.h"
#include "base/win/handles.h"
#include "pipeline/hid_device.h"
#include "update/package_signature_win.h"
#include "update/staging_folder_win.h"
#include "update/update_folders_win.h"
#include "update/version_text.h"
#include "update/zip/extract_zip.h"
#include "update/zip/zip_file_layer.h"

namespace Thermolyx {

namespace {

// The installer, opened for reading with no write or delete sharing, so that nobody
// can change or replace it until it has started. Only a plain file will do.
Base::UniqueFileHandle HoldInstaller(const std::wstring& path) {
    Base::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!file || !::GetFileInformationByHandle(file.Get(), &information) ||
        (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        return {};
    }
    return file;
}

}  // namespace

Updater::Updater(HWND mainWindow) : Updater(mainWindow, BuiltInUpdateSources(), GetStagingRoot()) {}

Updater::Updater(HWND mainWindow, UpdateSources sources, std::wstring stagingRoot)
    : mainWindow_(mainWindow),
      sources_(std::move(sources)),
      stagingRoot_(std::move(stagingRoot)),
      downloadFetcher_(sources_.limits) {}

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

void Updater::StopTransfers() {
    std::lock_guard guard(fetchersLock_);
    stopped_ = true;
    downloadFetcher_.Stop();
    if (checkFetcher_ != nullptr) {
        checkFetcher_->Stop();
    }
}

std::wstring Updater::FetchVersionText(const std::wstring& baseUrl) {
    HttpFetcher fetcher(sources_.limits);
    {
        std::lock_guard guard(fetchersLock_);
        if (stopped_) {
            fetcher.Stop();
        }
        checkFetcher_ = &fetcher;
    }
    std::wstring text;
    fetcher.FetchText(VersionUrl(baseUrl), text);  // a failure leaves the text empty
    std::lock_guard guard(fetchersLock_);
    checkFetcher_ = nullptr;
    return text;
}

void Updater::CheckSoftwareUpdate(bool answering) {
    const std::wstring text = FetchVersionText(sources_.softwareBaseUrl);
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
    const std::wstring text = FetchVersionText(sources_.firmwareBaseUrl);
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

bool Updater::InstallSoftwareUpdate() {
    return Install(UpdateTarget::Software, sources_.softwareBaseUrl, ServerSoftwareVersion());
}

bool Updater::InstallFirmwareUpdate() {
    return Install(UpdateTarget::Firmware, sources_.firmwareBaseUrl, ServerFirmwareVersion());
}

std::wstring Updater::ServerSoftwareVersion() const {
    std::lock_guard guard(versionsLock_);
    return serverSoftwareVersion_;
}

std::wstring Updater::ServerFirmwareVersion() const {
    std::lock_guard guard(versionsLock_);
    return serverFirmwareVersion_;
}

// One chain: each step must succeed before the next runs, and whatever is checked
// stays open until it is used, so nothing can be swapped in between.
bool Updater::Install(UpdateTarget target, const std::wstring& baseUrl, const std::wstring& serverVersion) {
    if (serverVersion.empty()) {
        return false;  // no accepted version to fetch
    }
    // A folder of this install's own, where no ordinary user can change anything.
    const std::wstring folder = PrepareInstallFolder(stagingRoot_);
    if (folder.empty()) {
        return false;
    }
    const UpdateFiles files = MakeUpdateFiles(target, serverVersion, baseUrl, folder);
    std::string signature;
    if (sources_.publisherKey && downloadFetcher_.FetchBytes(files.signatureUrl, signature) != HttpFetcher::kDone) {
        return false;
    }
    if (downloadFetcher_.FetchToFile(files.downloadUrl, files.packagePath, mainWindow_) != HttpFetcher::kDone) {
        return false;
    }
    std::unique_ptr<ArchiveFile> package = ArchiveFile::Open(files.packagePath);  // shared for reading only
    if (!package || package->Size() > sources_.limits.fileBytes) {
        return false;
    }
    if (sources_.publisherKey && !IsSignedByPublisher(*package, signature, *sources_.publisherKey)) {
        return false;
    }
    if (!ExtractEveryEntry(std::move(package), folder) || !::DeleteFileW(files.packagePath.c_str())) {
        return false;
    }
    const Base::UniqueFileHandle installer = HoldInstaller(files.installerPath);
    if (!installer) {
        return false;  // a package without its installer at the top: the program stays
    }
    // From its own folder, which stays while it runs; the next install removes it.
    const auto started = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", files.installerPath.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
    if (started <= 32) {
        return false;  // nothing runs in our place, so the program stays
    }
    // The window's thread ends the program: static objects must not be destroyed here
    // while that thread may still paint.
    ::PostMessageW(mainWindow_, WM_UPDATE_STARTED,
                   target == UpdateTarget::Software ? kUpdateResultSoftware : kUpdateResultFirmware, 0);
    return true;
}

void Updater::PostResult(WPARAM what, bool newer) const {
    ::PostMessageW(mainWindow_, WM_UPDATE_RESULT, what, newer ? 1 : 0);
}

void Updater::StoreVersion(std::wstring& version, const std::wstring& text) {
    std::lock_guard guard(versionsLock_);
    version = text;
}

}  // namespace Thermolyx
