#include <gtest/gtest.h>

#include "core/manager.h"

namespace {

// Reached through Orvik.dll's import library, as the program reaches it.
TEST(ReadingsStore, StartsAtZeroAndKeepsTheLastValueOfEach) {
    EXPECT_EQ(Orvik::Manager::GetCPUTemp(), 0.0f);
    EXPECT_EQ(Orvik::Manager::GetCPUPower(), 0.0f);
    EXPECT_EQ(Orvik::Manager::GetCPUUsage(), 0.0f);

    Orvik::Manager::SetCPUTemp(45.0f);
    Orvik::Manager::SetCPUTemp(46.0f);
    Orvik::Manager::SetCPUUsage(12.5f);
    EXPECT_EQ(Orvik::Manager::GetCPUTemp(), 46.0f);
    EXPECT_EQ(Orvik::Manager::GetCPUPower(), 0.0f);
    EXPECT_EQ(Orvik::Manager::GetCPUUsage(), 12.5f);
    // The exported members are the stored values.
    EXPECT_EQ(Orvik::Manager::m_cpu_temp, 46.0f);

    Orvik::Manager::SetCPUPower(-3.0f);
    EXPECT_EQ(Orvik::Manager::GetCPUPower(), -3.0f);
    EXPECT_EQ(Orvik::Manager::GetCPUTemp(), 46.0f);
}

}  // namespace
