#include "pipeline/sensor_block_map_win.h"

bool MapSensorBlock(Base::UniqueHandle& mapping, Base::UniqueMappedView& view, bool* created) {
    mapping.Reset(
        ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSensorBlockSize, kSensorBlockName));
    if (!mapping) {
        return false;
    }
    if (created != nullptr) {
        *created = ::GetLastError() == 0;
    }
    view.Reset(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, kSensorBlockSize));
    return view.IsValid();
}
