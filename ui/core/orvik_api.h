#pragma once

// Classes of Orvik.dll are exported whole; users link through the import library.
#if defined(_WIN32)
#if defined(ORVIK_BUILDING_DLL)
#define ORVIK_API __declspec(dllexport)
#else
#define ORVIK_API __declspec(dllimport)
#endif
#else
#define ORVIK_API
#endif
