#pragma once

#include "base/win/handles.h"
#include "pipeline/sensor_block.h"

// Opens the sensor server's block, or creates a zero-filled one when no server has
// yet: the server opens the same block when it starts. `created` (optional) tells
// which. The view is read-only. On failure `view` stays empty; a mapping made before
// a failed view is kept in `mapping` until the next attempt replaces it.
bool MapSensorBlock(Base::UniqueHandle& mapping, Base::UniqueMappedView& view, bool* created);
