#include <windows.h>
#include <gdiplus.h>
#include <objidl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "gdiplus_session.h"

namespace {

// Decodes one of Orvik.dll's "PNG" resources.
std::unique_ptr<Gdiplus::Bitmap> LibraryImage(unsigned id) {
    const HMODULE library = ::GetModuleHandleW(L"Orvik.dll");
    const HRSRC found = ::FindResourceW(library, MAKEINTRESOURCEW(id), L"PNG");
    if (found == nullptr) {
        return nullptr;
    }
    const DWORD size = ::SizeofResource(library, found);
    const HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(copy), ::LockResource(::LoadResource(library, found)), size);
    ::GlobalUnlock(copy);
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(copy, TRUE, &stream);  // the stream frees the copy
    std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    return image;
}

using LibraryResources = GdiplusSuite;

TEST_F(LibraryResources, ScrollBarImagesAreOpaqueCapsulesOnATransparentGround) {
    struct Case {
        unsigned id;
        UINT width;
        UINT height;
    };
    for (const Case& c : {Case{101, 48, 8}, Case{102, 8, 48}}) {
        SCOPED_TRACE(c.id);
        const std::unique_ptr<Gdiplus::Bitmap> image = LibraryImage(c.id);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->GetWidth(), c.width);
        ASSERT_EQ(image->GetHeight(), c.height);
        Gdiplus::Color middle;
        Gdiplus::Color corner;
        image->GetPixel(c.width / 2, c.height / 2, &middle);
        image->GetPixel(0, 0, &corner);
        EXPECT_EQ(middle.GetA(), 255);
        EXPECT_LT(corner.GetA(), 128);
    }
}

TEST_F(LibraryResources, TheFaceIsThereUnderEitherSpellingOfItsType) {
    const HMODULE library = ::GetModuleHandleW(L"Orvik.dll");
    ASSERT_NE(library, nullptr);
    for (const wchar_t* type : {L"TTF", L"ttf"}) {
        const HRSRC found = ::FindResourceW(library, MAKEINTRESOURCEW(106), type);
        ASSERT_NE(found, nullptr) << type;
        // A TrueType file starts with version 1.0.
        const auto* bytes = static_cast<const unsigned char*>(::LockResource(::LoadResource(library, found)));
        EXPECT_EQ(bytes[0], 0);
        EXPECT_EQ(bytes[1], 1);
        EXPECT_GT(::SizeofResource(library, found), 100000u);
    }
    // Nothing of the library's lives in the program's module.
    EXPECT_EQ(::FindResourceW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(106), L"TTF"), nullptr);
}

}  // namespace
