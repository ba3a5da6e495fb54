#include "pipeline/sensor_block.h"

#include "base/whole_float.h"

using Base::LoadWhole;

SensorReadings ReadSensorBlock(const SensorBlock& block) {
    return SensorReadings{
        .power = LoadWhole(block.power),
        .temperature = LoadWhole(block.temperature),
        .usage = LoadWhole(block.usage),
    };
}

float ReadSensorUsage(const SensorBlock& block) { return LoadWhole(block.usage); }
