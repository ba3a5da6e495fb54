#pragma once

#include <atomic>

namespace Base {

// One whole 32-bit load or store, never torn, without a lock: for floats that one
// thread (or process) writes while another reads.
static_assert(std::atomic_ref<float>::is_always_lock_free);

inline float LoadWhole(const float& source) {
    // A relaxed load never writes, so a read-only view may be read this way.
    return std::atomic_ref<float>(const_cast<float&>(source)).load(std::memory_order_relaxed);
}

inline void StoreWhole(float& target, float value) {
    std::atomic_ref<float>(target).store(value, std::memory_order_relaxed);
}

}  // namespace Base
