#include "update/publisher_key.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Thermolyx::ParsePublisherKey;
using Thermolyx::PublisherKey;

const std::string kX = "00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff";
const std::string kY = "ffeeddccbbaa99887766554433221100ffeeddccbbaa99887766554433221100";

TEST(PublisherKey, ReadsTheBarePointOrTheUncompressedForm) {
    for (const std::string& hex : {kX + kY, "04" + kX + kY, "04" + std::string(128 - 0, 'A').replace(0, 64, kX)}) {
        const std::optional<PublisherKey> key = ParsePublisherKey(hex);
        ASSERT_TRUE(key) << hex;
        EXPECT_EQ((*key)[0], 0x00);
        EXPECT_EQ((*key)[1], 0x11);
        EXPECT_EQ((*key)[31], 0xFF);
    }
    const std::optional<PublisherKey> key = ParsePublisherKey(kX + kY);
    EXPECT_EQ((*key)[32], 0xFF);
    EXPECT_EQ((*key)[63], 0x00);
}

TEST(PublisherKey, RefusesAnythingElse) {
    const std::string refused[] = {
        "",
        kX,              // half a key
        "02" + kX,       // a compressed point
        "05" + kX + kY,  // 130 digits not starting with 04
        kX + kY + "00",  // one byte too many
        kX + kY.substr(0, 126) + "g0",
        kX + kY.substr(0, 126) + " 0",
    };
    for (const std::string& hex : refused) {
        EXPECT_FALSE(ParsePublisherKey(hex)) << hex;
    }
}

}  // namespace
