#pragma once

#include <windows.h>
#include <wininet.h>

#include "base/win/handles.h"

namespace Thermolyx {

// Root, connection and request handles of the internet client alike.
using UniqueInternetHandle =
    Base::UniqueAny<Base::PreservingErrorTraits<HINTERNET, ::InternetCloseHandle, Base::NullValue<HINTERNET>>>;

}  // namespace Thermolyx
