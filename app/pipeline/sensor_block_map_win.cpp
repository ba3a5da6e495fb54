#include "pipeline/sensor_block_map_win.h"

bool SensorBlockMapping::MapSensorBlock(bool* created) {
    if (View() != nullptr) {
        return true;
    }
    Base::UniqueHandle mapping(
        ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSensorBlockSize, kSensorBlockName));
    if (!mapping) {
        return false;
    }
    if (created != nullptr) {
        *created = ::GetLastError() == 0;
    }
    Base::UniqueMappedView address(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, kSensorBlockSize));
    if (!address) {
        return false;
    }
    mapping_ = std::move(mapping);
    address_ = std::move(address);
    view_.store(static_cast<const SensorBlock*>(address_.Get()), std::memory_order_release);
    return true;
}
