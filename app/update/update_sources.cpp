#include "update/update_sources.h"

namespace Thermolyx {

UpdateSources BuiltInUpdateSources() { return {L"" THERMOLYX_SOFTWARE_UPDATE_URL, L"" THERMOLYX_FIRMWARE_UPDATE_URL}; }

}  // namespace Thermolyx
