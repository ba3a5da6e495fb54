#include "update/update_files.h"

namespace Thermolyx {

UpdateFiles MakeUpdateFiles(UpdateTarget target, const std::wstring& serverVersion, const std::wstring& baseUrl,
                            const std::wstring& installFolder) {
    const std::wstring stem =
        (target == UpdateTarget::Software ? L"Software-" : L"FirmwareUpdateTool-") + serverVersion;
    UpdateFiles files;
    files.packageName = stem + L".zip";
    files.installerName = stem + L".exe";
    // The base ends in "/": one slash only, since object stores keep repeated slashes
    // as part of the key and would not find the package.
    files.downloadUrl = baseUrl + files.packageName;
    files.signatureUrl = files.downloadUrl + L".sig";
    files.packagePath = installFolder + files.packageName;
    files.installerPath = installFolder + files.installerName;
    return files;
}

std::wstring VersionUrl(const std::wstring& baseUrl) { return baseUrl + L"version"; }

}  // namespace Thermolyx
