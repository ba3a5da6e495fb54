#include "base/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// U+1F600 as the platform's wide text: a surrogate pair where wchar_t has 16 bits.
std::wstring Emoji() {
    if constexpr (sizeof(wchar_t) == 2) {
        return {wchar_t(0xD83D), wchar_t(0xDE00)};
    } else {
        return {wchar_t(0x1F600)};
    }
}

TEST(DecodeUtf8UpToNul, WellFormedTextOfEveryLength) {
    EXPECT_EQ(Base::DecodeUtf8UpToNul(""), L"");
    EXPECT_EQ(Base::DecodeUtf8UpToNul("1.0.0.10"), L"1.0.0.10");
    EXPECT_EQ(Base::DecodeUtf8UpToNul("\xC3\xA9\xE2\x82\xAC"), L"\u00E9\u20AC");
    EXPECT_EQ(Base::DecodeUtf8UpToNul("\xF0\x9F\x98\x80"), Emoji());
}

TEST(DecodeUtf8UpToNul, StopsAtTheFirstZeroByte) {
    EXPECT_EQ(Base::DecodeUtf8UpToNul("105\0garbage"s), L"105");
    EXPECT_EQ(Base::DecodeUtf8UpToNul("\0"s), L"");
}

TEST(DecodeUtf8UpToNul, EachMalformedByteBecomesOneReplacement) {
    struct Case {
        std::string bytes;
        std::wstring expected;
    };
    const Case cases[] = {
        {"a\x80z", L"a\uFFFDz"},                            // stray continuation byte
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                      // overlong "/"
        {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},            // overlong "/" in three bytes
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},            // a UTF-16 surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\xE2\x82", L"\uFFFD\uFFFD"},                      // cut short at the end
        {"\xE2\x82z", L"\uFFFD\uFFFDz"},                    // cut short before another character
        {"\xFF", L"\uFFFD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Base::DecodeUtf8UpToNul(c.bytes), c.expected);
    }
}

TEST(DecodeUtf8Strictly, WholeTextOrNothing) {
    EXPECT_EQ(Base::DecodeUtf8Strictly("\xC3\xBCn\xC3\xAF"), L"\u00FCn\u00EF");
    EXPECT_EQ(Base::DecodeUtf8Strictly("\xF0\x9F\x98\x80"), Emoji());
    EXPECT_EQ(Base::DecodeUtf8Strictly(""), L"");
    const std::string refused[] = {
        "a\x80z",           // stray continuation byte
        "\xC0\xAF",         // overlong "/"
        "\xED\xA0\x80",     // a UTF-16 surrogate
        "\xE2\x82",         // cut short at the end
        "unix-latin-\xE9",  // a code-page byte
        "name\0hidden"s,    // a zero byte anywhere
    };
    for (const std::string& bytes : refused) {
        EXPECT_EQ(Base::DecodeUtf8Strictly(bytes), std::nullopt) << bytes;
    }
}

TEST(EncodeUtf8, RoundTripsAndReplacesLoneSurrogates) {
    const std::wstring text = L"http://h/\u00E9\u20AC" + Emoji();
    EXPECT_EQ(Base::EncodeUtf8(text), "http://h/\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Base::DecodeUtf8UpToNul(Base::EncodeUtf8(text)), text);
    EXPECT_EQ(Base::EncodeUtf8(std::wstring{L'a', wchar_t(0xD800), L'b'}),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Base::EncodeUtf8(std::wstring{wchar_t(0xDC00)}), "\xEF\xBF\xBD");
}

}  // namespace
