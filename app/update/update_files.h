#pragma once

#include <string>

namespace Thermolyx {

// What is updated: the program itself or the display's firmware.
enum class UpdateTarget { Software, Firmware };

// The server's files and the local paths of one update. The server version has been
// accepted (digits and dots only) before it gets here.
struct UpdateFiles {
    std::wstring packageName;    // "Software-%s.zip" / "FirmwareUpdateTool-%s.zip"
    std::wstring installerName;  // the same name ending in ".exe", at the package's top level
    std::wstring downloadUrl;    // the base URL (ending in "/") and the package name
    std::wstring signatureUrl;   // the package's URL with ".sig" appended
    std::wstring packagePath;    // in the install's own folder
    std::wstring installerPath;
};

// `installFolder` ends in a separator.
UpdateFiles MakeUpdateFiles(UpdateTarget target, const std::wstring& serverVersion, const std::wstring& baseUrl,
                            const std::wstring& installFolder);

// The "version" file lies directly below the base URL.
std::wstring VersionUrl(const std::wstring& baseUrl);

}  // namespace Thermolyx
