#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "core/rect.h"

namespace Orvik {

// One control of a paint manager's z-order (areas first, then normal controls).
struct StackedControl {
    CRect rect;
    bool visible = false;
};

// What a redraw request of one control brings with it.
struct UpdateSpread {
    CRect area;                   // to invalidate
    std::vector<size_t> redrawn;  // entries of the stack whose kept drawing is stale
};

// The visible controls drawn after `changed` that overlap `rect` must redraw too,
// or they would be painted over by the stale surface beneath them. Overlap is
// tested against `rect` itself, not against the growing union. Without `changed`
// in the stack (a control of no list) only `rect` is invalidated.
UpdateSpread SpreadUpdate(std::span<const StackedControl> stack, std::optional<size_t> changed, CRect rect);

}  // namespace Orvik
