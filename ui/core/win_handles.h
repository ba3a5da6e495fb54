#pragma once

#include <windows.h>
#include <wininet.h>

#include "core/unique_any.h"

namespace Orvik {

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

inline void UnmapView(const void* view) { ::UnmapViewOfFile(view); }

using UniqueHandle = UniqueAny<PreservingErrorTraits<HANDLE, ::CloseHandle, NullValue<HANDLE>>>;
using UniqueFileHandle = UniqueAny<PreservingErrorTraits<HANDLE, ::CloseHandle, InvalidHandleValue>>;
using UniqueMappedView = UniqueAny<PreservingErrorTraits<const void*, UnmapView, NullValue<const void*>>>;
// Root, connection and request handles of the internet client alike.
using UniqueInternetHandle = UniqueAny<PreservingErrorTraits<HINTERNET, ::InternetCloseHandle, NullValue<HINTERNET>>>;

}  // namespace Orvik
