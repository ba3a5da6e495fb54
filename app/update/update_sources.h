#pragma once

#include <optional>
#include <string>

#include "update/fetch_limits.h"
#include "update/publisher_key.h"

namespace Thermolyx {

// The update server, and what the program accepts from it.
struct UpdateSources {
    // The folders that hold the "version" file and the packages, each ending in "/".
    std::wstring softwareBaseUrl;
    std::wstring firmwareBaseUrl;
    // With a key, a package installs only with the publisher's valid signature beside
    // it; without one, whoever controls the server decides what runs.
    std::optional<PublisherKey> publisherKey;
    // Time-outs, and the largest package taken.
    FetchLimits limits;
};

// What the program was built with (a distributor sets its own server, key and cap
// when it builds the program).
UpdateSources BuiltInUpdateSources();

}  // namespace Thermolyx
