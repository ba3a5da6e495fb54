#include "image_fixtures_win.h"

#include <gdiplus.h>

#include <cstdint>
#include <vector>

#include "base/win/handles.h"
#include "test_files_win.h"

namespace {

bool FindEncoder(const wchar_t* mimeType, CLSID& clsid) {
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) {
        return false;
    }
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) {
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == mimeType) {
            clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

void Append(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

bool SavePng(const std::wstring& path, int width, int height, const std::function<DWORD(int, int)>& colour) {
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.SetPixel(x, y, Gdiplus::Color(colour(x, y)));
        }
    }
    CLSID png{};
    return FindEncoder(L"image/png", png) && bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

bool SaveSolidPng(const std::wstring& path, int width, int height, DWORD argb) {
    return SavePng(path, width, height, [argb](int, int) { return argb; });
}

bool SaveSolidIcon(const std::wstring& path, DWORD rgb) {
    constexpr int kSide = 32;
    constexpr std::uint32_t kPixels = kSide * kSide * 4;
    constexpr std::uint32_t kMask = kSide * 4;  // 1 bit per pixel, rows padded to 32 bits
    constexpr std::uint32_t kImage = 40 + kPixels + kMask;
    std::string bytes;
    Append(bytes, 0, 2);  // reserved
    Append(bytes, 1, 2);  // icon
    Append(bytes, 1, 2);  // one image
    Append(bytes, kSide, 1);
    Append(bytes, kSide, 1);
    Append(bytes, 0, 2);   // no palette, reserved
    Append(bytes, 1, 2);   // planes
    Append(bytes, 32, 2);  // bits per pixel
    Append(bytes, kImage, 4);
    Append(bytes, 6 + 16, 4);  // offset of the image
    Append(bytes, 40, 4);      // BITMAPINFOHEADER, height doubled for the mask
    Append(bytes, kSide, 4);
    Append(bytes, kSide * 2, 4);
    Append(bytes, 1, 2);
    Append(bytes, 32, 2);
    Append(bytes, 0, 4);
    Append(bytes, kPixels + kMask, 4);
    Append(bytes, 0, 16);
    for (int i = 0; i < kSide * kSide; ++i) {
        Append(bytes, 0xFF000000 | rgb, 4);
    }
    Append(bytes, 0, kMask);
    return WriteTextFile(path, bytes);
}

std::string ReadWholeFile(const std::wstring& path) {
    Base::UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return {};
    }
    std::string bytes(::GetFileSize(file.Get(), nullptr), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        return {};
    }
    return bytes;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
