#pragma once

#include <windows.h>

#include "base/win/handles.h"

namespace Orvik {

// A font added to this process from memory; removing it takes it out of the process.
inline void RemoveMemoryFont(HANDLE font) { ::RemoveFontMemResourceEx(font); }
using UniqueMemoryFont =
    Base::UniqueAny<Base::PreservingErrorTraits<HANDLE, RemoveMemoryFont, Base::NullValue<HANDLE>>>;

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
using UniqueGdiObject = Base::UniqueAny<Base::PreservingErrorTraits<T, DeleteGdiObject, Base::NullValue<T>>>;
using UniqueHBitmap = UniqueGdiObject<HBITMAP>;
using UniqueHFont = UniqueGdiObject<HFONT>;
using UniqueHBrush = UniqueGdiObject<HBRUSH>;
using UniqueHDC = Base::UniqueAny<Base::PreservingErrorTraits<HDC, ::DeleteDC, Base::NullValue<HDC>>>;
using UniqueHGlobal = Base::UniqueAny<Base::PreservingErrorTraits<HGLOBAL, FreeGlobal, Base::NullValue<HGLOBAL>>>;
using UniqueHIcon = Base::UniqueAny<Base::PreservingErrorTraits<HICON, ::DestroyIcon, Base::NullValue<HICON>>>;

struct NoWindowDC {
    static WindowDC Get() { return {}; }
};
struct NoSelection {
    static SelectedObject Get() { return {}; }
};
using UniqueWindowDC = Base::UniqueAny<Base::PreservingErrorTraits<WindowDC, ReleaseWindowDC, NoWindowDC>>;
using UniqueSelectObject = Base::UniqueAny<Base::PreservingErrorTraits<SelectedObject, RestoreSelection, NoSelection>>;

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
