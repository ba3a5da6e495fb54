#include "pipeline/sensor_block_map_win.h"

#include <gtest/gtest.h>

#include "worker_fixture_win.h"

namespace {

TEST(MapSensorBlock, CreatesAZeroBlockThenOpensTheSameOne) {
    SensorBlockMapping mapping;
    EXPECT_EQ(mapping.View(), nullptr);
    bool created = false;
    ASSERT_TRUE(mapping.MapSensorBlock(&created));
    EXPECT_TRUE(created);
    const auto* block = reinterpret_cast<const unsigned char*>(mapping.View());
    EXPECT_TRUE(std::all_of(block, block + kSensorBlockSize, [](unsigned char b) { return b == 0; }));

    // Whoever comes next (the server, or another program's view) shares it.
    ServerSideBlock server;
    ASSERT_TRUE(server.IsValid());
    server.Block().temperature = 51.5f;
    SensorBlockMapping second;
    ASSERT_TRUE(second.MapSensorBlock(&created));
    EXPECT_FALSE(created);
    EXPECT_EQ(ReadSensorBlock(*mapping.View()).temperature, 51.5f);
    EXPECT_EQ(ReadSensorBlock(*second.View()).temperature, 51.5f);
}

TEST(MapSensorBlock, MappedViewStaysWhereItIs) {
    SensorBlockMapping mapping;
    ASSERT_TRUE(mapping.MapSensorBlock());
    const SensorBlock* view = mapping.View();
    bool created = true;
    EXPECT_TRUE(mapping.MapSensorBlock(&created));
    EXPECT_EQ(mapping.View(), view);
    EXPECT_TRUE(created);  // untouched: nothing was opened
    MEMORY_BASIC_INFORMATION info = {};
    ASSERT_NE(::VirtualQuery(view, &info, sizeof(info)), 0u);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
}

TEST(MapSensorBlock, ViewIsReadOnly) {
    SensorBlockMapping mapping;
    ASSERT_TRUE(mapping.MapSensorBlock());
    MEMORY_BASIC_INFORMATION info = {};
    ASSERT_NE(::VirtualQuery(mapping.View(), &info, sizeof(info)), 0u);
    EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READONLY));
}

TEST(MapSensorBlock, FailsWhenTheNameIsTakenByAnotherKindOfObject) {
    // An event squatting on the name makes the mapping fail: nothing is mapped, and
    // a later attempt succeeds once the name is free.
    SensorBlockMapping mapping;
    {
        Base::UniqueHandle squatter(::CreateEventA(nullptr, TRUE, FALSE, kSensorBlockName));
        ASSERT_TRUE(squatter);
        EXPECT_FALSE(mapping.MapSensorBlock());
        EXPECT_EQ(mapping.View(), nullptr);
    }
    EXPECT_TRUE(mapping.MapSensorBlock());
    EXPECT_NE(mapping.View(), nullptr);
}

}  // namespace
