#include "update/update_sources.h"

namespace Thermolyx {

UpdateSources BuiltInUpdateSources() {
    UpdateSources sources{L"" THERMOLYX_SOFTWARE_UPDATE_URL,
                          L"" THERMOLYX_FIRMWARE_UPDATE_URL,
                          ParsePublisherKey(THERMOLYX_PUBLISHER_KEY),
                          {}};
    sources.limits.fileBytes = THERMOLYX_MAX_PACKAGE_BYTES;
    return sources;
}

}  // namespace Thermolyx
