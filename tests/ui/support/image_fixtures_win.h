#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Writes a width x height PNG whose pixel (x, y) is colour(x, y) (0xAARRGGBB),
// encoded by GDI+. False on failure.
bool SavePng(const std::wstring& path, int width, int height, const std::function<DWORD(int, int)>& colour);

// A PNG of one colour.
bool SaveSolidPng(const std::wstring& path, int width, int height, DWORD argb);

// Writes an icon file holding one 32 x 32 image of one opaque colour.
bool SaveSolidIcon(const std::wstring& path, DWORD rgb);

// The bytes of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);

bool FileExists(const std::wstring& path);
