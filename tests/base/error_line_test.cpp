#include "base/error_line.h"

#include <gtest/gtest.h>

namespace {

TEST(HresultLine, AppendsTheCodeInLowerCaseHexWithoutLeadingZeros) {
    const struct {
        std::int32_t code;
        const char* line;
    } cases[] = {
        {static_cast<std::int32_t>(0x80004001), "at 0x80004001"},
        {static_cast<std::int32_t>(0x8007000E), "at 0x8007000e"},
        {-1, "at 0xffffffff"},
        {0x00000ABC, "at 0xabc"},
        {1, "at 0x1"},
        {0, "at 0x0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base::HresultLine("at 0x", c.code), c.line);
    }
}

TEST(WriteErrorLine, WritesTheBytesAndALineEndToStandardError) {
    testing::internal::CaptureStderr();
    Base::WriteErrorLine("first \xce\xde");
    Base::WriteErrorLine(std::string_view("second\0!", 8));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string("first \xce\xde\nsecond\0!\n", 18));
}

}  // namespace
