#pragma once

#include <windows.h>

#include "base/win/unique_any.h"

namespace Base {

// Closing a handle must not disturb the caller's GetLastError().
template <typename T, auto CloseFunction, typename InvalidValue>
struct PreservingErrorTraits {
    using Type = T;
    static Type Invalid() { return InvalidValue::Get(); }
    static void Close(Type value) {
        const DWORD error = ::GetLastError();
        CloseFunction(value);
        ::SetLastError(error);
    }
};

template <typename T>
struct NullValue {
    static T Get() { return nullptr; }
};

struct InvalidHandleValue {
    static HANDLE Get() { return INVALID_HANDLE_VALUE; }
};

inline void UnmapView(void* view) { ::UnmapViewOfFile(view); }

using UniqueHandle = UniqueAny<PreservingErrorTraits<HANDLE, ::CloseHandle, NullValue<HANDLE>>>;
using UniqueFileHandle = UniqueAny<PreservingErrorTraits<HANDLE, ::CloseHandle, InvalidHandleValue>>;
using UniqueMappedView = UniqueAny<PreservingErrorTraits<void*, UnmapView, NullValue<void*>>>;
// A directory listing from FindFirstFileW.
using UniqueFindHandle = UniqueAny<PreservingErrorTraits<HANDLE, ::FindClose, InvalidHandleValue>>;
// Memory the system hands over for the caller to LocalFree (security descriptors, SDDL texts).
inline void FreeLocal(void* memory) { ::LocalFree(memory); }
using UniqueLocalMemory = UniqueAny<PreservingErrorTraits<void*, FreeLocal, NullValue<void*>>>;

// Registry keys, COM interfaces, BSTRs and loaded modules.
inline void CloseRegistryKey(HKEY key) { ::RegCloseKey(key); }
template <typename Interface>
void ReleaseInterface(Interface* object) {
    object->Release();
}
inline void FreeBstr(BSTR text) { ::SysFreeString(text); }

using UniqueRegistryKey = UniqueAny<PreservingErrorTraits<HKEY, CloseRegistryKey, NullValue<HKEY>>>;
template <typename Interface>
using UniqueComPtr = UniqueAny<PreservingErrorTraits<Interface*, ReleaseInterface<Interface>, NullValue<Interface*>>>;
using UniqueBstr = UniqueAny<PreservingErrorTraits<BSTR, FreeBstr, NullValue<BSTR>>>;
using UniqueModule = UniqueAny<PreservingErrorTraits<HMODULE, ::FreeLibrary, NullValue<HMODULE>>>;

}  // namespace Base
