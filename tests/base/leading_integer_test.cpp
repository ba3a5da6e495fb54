#include "base/leading_integer.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseLeadingInteger, ReadsTheLeadingDecimalNumber) {
    const struct {
        const wchar_t* text;
        std::int32_t value;
    } cases[] = {
        {L"1", 1},
        {L" 1", 1},
        {L"\t\n 42x", 42},
        {L"x1", 0},
        {L"7", 7},
        {L"-3", -3},
        {L"+5", 5},
        {L"", 0},
        {L"-", 0},
        {L"- 3", 0},
        {L"--3", 0},
        {L"0010", 10},
        {L"1.0.0.2", 1},
        {L"105", 105},
        {L"2147483647", 2147483647},
        {L"2147483648", 2147483647},
        {L"99999999999999999999", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"-99999999999999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base::ParseLeadingInteger(std::wstring_view(c.text)), c.value) << c.text;
    }
}

TEST(ParseLeadingInteger, NarrowTextFollowsTheSameRule) {
    EXPECT_EQ(Base::ParseLeadingInteger(std::string_view(" -12abc")), -12);
    EXPECT_EQ(Base::ParseLeadingInteger(std::string_view("v2")), 0);
    // Stops at the end of the view, not at a terminator beyond it.
    EXPECT_EQ(Base::ParseLeadingInteger(std::string_view("123", 2)), 12);
}

}  // namespace
