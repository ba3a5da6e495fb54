#include "pipeline/sensor_block.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Builds a block byte by byte, the way another process lays it out.
TEST(ReadSensorBlock, TakesTheFloatsAtTheirOffsets) {
    alignas(4) unsigned char raw[kSensorBlockSize];
    std::memset(raw, 0xCC, sizeof(raw));
    const float power = 65.25f;
    const float temperature = 45.5f;
    const float usage = 37.75f;
    std::memcpy(raw + 132, &power, 4);
    std::memcpy(raw + 152, &temperature, 4);
    std::memcpy(raw + 156, &usage, 4);

    SensorBlock block;
    std::memcpy(&block, raw, sizeof(raw));
    const SensorReadings readings = ReadSensorBlock(block);
    EXPECT_EQ(readings.power, power);
    EXPECT_EQ(readings.temperature, temperature);
    EXPECT_EQ(readings.usage, usage);
    EXPECT_EQ(ReadSensorUsage(block), usage);
}

TEST(ReadSensorBlock, ZeroBlockReadsZero) {
    SensorBlock block;
    std::memset(&block, 0, sizeof(block));
    const SensorReadings readings = ReadSensorBlock(block);
    EXPECT_EQ(readings.power, 0.0f);
    EXPECT_EQ(readings.temperature, 0.0f);
    EXPECT_EQ(readings.usage, 0.0f);
}

}  // namespace
