#include "pipeline/sensor_block_map_win.h"

#include <gtest/gtest.h>

#include "worker_fixture_win.h"

namespace {

TEST(MapSensorBlock, CreatesAZeroBlockThenOpensTheSameOne) {
    Base::UniqueHandle mapping;
    Base::UniqueMappedView view;
    bool created = false;
    ASSERT_TRUE(MapSensorBlock(mapping, view, &created));
    EXPECT_TRUE(created);
    const auto* block = static_cast<const unsigned char*>(view.Get());
    EXPECT_TRUE(std::all_of(block, block + kSensorBlockSize, [](unsigned char b) { return b == 0; }));

    // Whoever comes next (the server, or a later scan) shares it.
    ServerSideBlock server;
    ASSERT_TRUE(server.IsValid());
    server.Block().temperature = 51.5f;
    Base::UniqueHandle secondMapping;
    Base::UniqueMappedView secondView;
    ASSERT_TRUE(MapSensorBlock(secondMapping, secondView, &created));
    EXPECT_FALSE(created);
    EXPECT_EQ(ReadSensorBlock(*static_cast<const SensorBlock*>(view.Get())).temperature, 51.5f);
    EXPECT_EQ(ReadSensorBlock(*static_cast<const SensorBlock*>(secondView.Get())).temperature, 51.5f);
    EXPECT_TRUE(MapSensorBlock(secondMapping, secondView, nullptr));  // the flag is optional
}

TEST(MapSensorBlock, ViewIsReadOnly) {
    Base::UniqueHandle mapping;
    Base::UniqueMappedView view;
    ASSERT_TRUE(MapSensorBlock(mapping, view, nullptr));
    MEMORY_BASIC_INFORMATION info = {};
    ASSERT_NE(::VirtualQuery(view.Get(), &info, sizeof(info)), 0u);
    EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READONLY));
}

TEST(MapSensorBlock, FailsWhenTheNameIsTakenByAnotherKindOfObject) {
    // An event squatting on the name makes the mapping fail: nothing is mapped.
    Base::UniqueHandle squatter(::CreateEventA(nullptr, TRUE, FALSE, kSensorBlockName));
    ASSERT_TRUE(squatter);
    Base::UniqueHandle mapping;
    Base::UniqueMappedView view;
    EXPECT_FALSE(MapSensorBlock(mapping, view, nullptr));
    EXPECT_FALSE(view.IsValid());
}

}  // namespace
