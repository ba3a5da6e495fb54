#include "update/update_files.h"

namespace Thermolyx {

UpdateFiles MakeUpdateFiles(UpdateTarget target, const std::wstring& serverVersion, const std::wstring& baseUrl,
                            const std::wstring& workFolder) {
    const std::wstring stem =
        (target == UpdateTarget::Software ? L"Software-" : L"FirmwareUpdateTool-") + serverVersion;
    UpdateFiles files;
    files.packageName = stem + L".zip";
    files.installerName = stem + L".exe";
    files.downloadUrl = baseUrl + L"//" + files.packageName;
    // The doubled separator after the work folder is harmless to the file system.
    files.downloadFolder = workFolder + L"\\temp\\";
    files.packagePath = files.downloadFolder + files.packageName;
    files.installerPath = files.downloadFolder + files.installerName;
    return files;
}

std::wstring VersionUrl(const std::wstring& baseUrl) { return baseUrl + L"version"; }

}  // namespace Thermolyx
