#pragma once

#include <string>

namespace Thermolyx {

// The folders on the update server that hold the "version" file and the packages,
// each ending in "/".
struct UpdateSources {
    std::wstring softwareBaseUrl;
    std::wstring firmwareBaseUrl;
};

// The folders the program was built with (a distributor sets its own server when it
// builds the program).
UpdateSources BuiltInUpdateSources();

}  // namespace Thermolyx
