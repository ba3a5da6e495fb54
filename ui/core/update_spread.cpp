#include "core/update_spread.h"

namespace Orvik {

UpdateSpread SpreadUpdate(std::span<const StackedControl> stack, std::optional<size_t> changed, CRect rect) {
    UpdateSpread spread{rect, {}};
    if (!changed) {
        return spread;
    }
    for (size_t i = *changed + 1; i < stack.size(); ++i) {
        if (stack[i].visible && Intersects(stack[i].rect, rect)) {
            spread.redrawn.push_back(i);
            spread.area = UnionOf(spread.area, stack[i].rect);
        }
    }
    return spread;
}

}  // namespace Orvik
