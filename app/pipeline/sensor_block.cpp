#include "sensor_block.h"

namespace {

float LoadWhole(const float& value) {
    return *static_cast<const volatile float*>(&value);
}

}  // namespace

SensorReadings ReadSensorBlock(const SensorBlock& block) {
    return SensorReadings{
        .power = LoadWhole(block.power),
        .temperature = LoadWhole(block.temperature),
        .usage = LoadWhole(block.usage),
    };
}

float ReadSensorUsage(const SensorBlock& block) { return LoadWhole(block.usage); }
