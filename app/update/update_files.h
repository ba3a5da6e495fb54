#pragma once

#include <string>

namespace Thermolyx {

// What is updated: the program itself or the display's firmware.
enum class UpdateTarget { Software, Firmware };

// The server's files and the local paths of one update. The server version has been
// accepted (digits and dots only) before it gets here.
struct UpdateFiles {
    std::wstring packageName;     // "Software-%s.zip" / "FirmwareUpdateTool-%s.zip"
    std::wstring installerName;   // the same name ending in ".exe", at the package's top level
    std::wstring downloadUrl;     // "%s//%s": base URL, package name
    std::wstring downloadFolder;  // "%s\temp\": the work folder, which already ends in "\"
    std::wstring packagePath;     // "%s\temp\%s"
    std::wstring installerPath;   // "%s\temp\%s"
};

UpdateFiles MakeUpdateFiles(UpdateTarget target, const std::wstring& serverVersion, const std::wstring& baseUrl,
                            const std::wstring& workFolder);

// The "version" file lies directly below the base URL.
std::wstring VersionUrl(const std::wstring& baseUrl);

}  // namespace Thermolyx
