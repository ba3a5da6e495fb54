#pragma once

#include <cstddef>
#include <cstdint>

// The shared-memory record the sensor server publishes. A byte-level interface
// between two processes: offsets, widths and encodings bind both sides.
inline constexpr char kSensorBlockName[] = "quarix_hardware_mapfile";
inline constexpr std::uint32_t kSensorBlockSize = 584;
inline constexpr std::size_t kSensorNameSize = 136;

struct SensorBlock {
    std::uint8_t serverArea0[132];
    float power;  // watts
    std::uint8_t serverArea1[16];
    float temperature;  // degrees Celsius
    float usage;        // percent, 0 to 100
    char name1[kSensorNameSize];
    float temperature1;
    std::uint8_t serverArea2[4];
    char name2[kSensorNameSize];
    float temperature2;
    std::uint8_t serverArea3[140];
};

static_assert(sizeof(float) == 4);
static_assert(sizeof(SensorBlock) == kSensorBlockSize);
static_assert(offsetof(SensorBlock, power) == 132);
static_assert(offsetof(SensorBlock, temperature) == 152);
static_assert(offsetof(SensorBlock, usage) == 156);
static_assert(offsetof(SensorBlock, name1) == 160);
static_assert(offsetof(SensorBlock, temperature1) == 296);
static_assert(offsetof(SensorBlock, name2) == 304);
static_assert(offsetof(SensorBlock, temperature2) == 440);

// The values the program reads from the block.
struct SensorReadings {
    float power = 0.0f;
    float temperature = 0.0f;
    float usage = 0.0f;
};

// The server writes while we read, without a lock: each float is taken with one
// aligned 4-byte load, so a value is never torn (values may come from different
// updates of the server).
SensorReadings ReadSensorBlock(const SensorBlock& block);

// The usage rate alone, for the server watch of the UI thread.
float ReadSensorUsage(const SensorBlock& block);
