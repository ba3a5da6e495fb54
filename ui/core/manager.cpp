#include "core/manager.h"

#include <atomic>

namespace Orvik {

namespace {

// One whole 32-bit load or store, never torn, without imposing a lock.
void StoreWhole(float& target, float value) {
    std::atomic_ref<float>(target).store(value, std::memory_order_relaxed);
}

float LoadWhole(float& source) {
    return std::atomic_ref<float>(source).load(std::memory_order_relaxed);
}

}  // namespace

float Manager::m_cpu_temp = 0.0f;
float Manager::m_cpu_power = 0.0f;
float Manager::m_cpu_usage = 0.0f;

void Manager::SetCPUTemp(float value) { StoreWhole(m_cpu_temp, value); }
float Manager::GetCPUTemp() { return LoadWhole(m_cpu_temp); }
void Manager::SetCPUPower(float value) { StoreWhole(m_cpu_power, value); }
float Manager::GetCPUPower() { return LoadWhole(m_cpu_power); }
void Manager::SetCPUUsage(float value) { StoreWhole(m_cpu_usage, value); }
float Manager::GetCPUUsage() { return LoadWhole(m_cpu_usage); }

}  // namespace Orvik
