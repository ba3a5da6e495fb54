#include "core/library_module.h"

namespace {

HMODULE libraryModule = nullptr;

}  // namespace

namespace Orvik {

HMODULE LibraryModule() { return libraryModule; }

}  // namespace Orvik

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        libraryModule = instance;
        // Nothing here cares about threads coming and going.
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
