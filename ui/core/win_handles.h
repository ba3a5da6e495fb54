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

}  // namespace Orvik

namespace Orvik {

// A font added to this process from memory; removing it takes it out of the process.
inline void RemoveMemoryFont(HANDLE font) { ::RemoveFontMemResourceEx(font); }
using UniqueMemoryFont = UniqueAny<PreservingErrorTraits<HANDLE, RemoveMemoryFont, NullValue<HANDLE>>>;

// GDI: memory DCs, GDI objects, global memory, icons, DCs borrowed from a window,
// and selections into a DC (the previous object goes back on release).
struct WindowDC {
    HWND window = nullptr;
    HDC dc = nullptr;
    bool operator==(const WindowDC&) const = default;
};

struct SelectedObject {
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    bool operator==(const SelectedObject&) const = default;
};

inline void DeleteGdiObject(HGDIOBJ object) { ::DeleteObject(object); }
inline void FreeGlobal(HGLOBAL block) { ::GlobalFree(block); }
inline void ReleaseWindowDC(WindowDC borrowed) { ::ReleaseDC(borrowed.window, borrowed.dc); }
inline void RestoreSelection(SelectedObject selection) { ::SelectObject(selection.dc, selection.previous); }

template <typename T>
using UniqueGdiObject = UniqueAny<PreservingErrorTraits<T, DeleteGdiObject, NullValue<T>>>;
using UniqueHBitmap = UniqueGdiObject<HBITMAP>;
using UniqueHFont = UniqueGdiObject<HFONT>;
using UniqueHBrush = UniqueGdiObject<HBRUSH>;
using UniqueHDC = UniqueAny<PreservingErrorTraits<HDC, ::DeleteDC, NullValue<HDC>>>;
using UniqueHGlobal = UniqueAny<PreservingErrorTraits<HGLOBAL, FreeGlobal, NullValue<HGLOBAL>>>;
using UniqueHIcon = UniqueAny<PreservingErrorTraits<HICON, ::DestroyIcon, NullValue<HICON>>>;

struct NoWindowDC {
    static WindowDC Get() { return {}; }
};
struct NoSelection {
    static SelectedObject Get() { return {}; }
};
using UniqueWindowDC = UniqueAny<PreservingErrorTraits<WindowDC, ReleaseWindowDC, NoWindowDC>>;
using UniqueSelectObject = UniqueAny<PreservingErrorTraits<SelectedObject, RestoreSelection, NoSelection>>;

// GetDC(window) until released; a null window borrows the screen's DC.
[[nodiscard]] inline UniqueWindowDC BorrowDC(HWND window) {
    HDC dc = ::GetDC(window);
    return dc ? UniqueWindowDC({window, dc}) : UniqueWindowDC();
}

// Selects `object` into `dc` until the guard goes; empty when the selection failed.
[[nodiscard]] inline UniqueSelectObject SelectInto(HDC dc, HGDIOBJ object) {
    HGDIOBJ previous = ::SelectObject(dc, object);
    return previous && previous != HGDI_ERROR ? UniqueSelectObject({dc, previous}) : UniqueSelectObject();
}

}  // namespace Orvik
