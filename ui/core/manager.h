#pragma once

#include "core/orvik_api.h"

namespace Orvik {

// Process-wide state of the library: only static members, never instantiated.
class ORVIK_API Manager {
public:
    Manager() = delete;

    // The readings store: the latest numbers the readings overlay paints. Written by
    // the program's worker thread while the UI thread paints, so each is a single
    // aligned 32-bit float stored and loaded whole, without a lock.
    static void SetCPUTemp(float value);
    static float GetCPUTemp();
    static void SetCPUPower(float value);
    static float GetCPUPower();
    static void SetCPUUsage(float value);
    static float GetCPUUsage();

    static float m_cpu_temp;
    static float m_cpu_power;
    static float m_cpu_usage;
};

}  // namespace Orvik
