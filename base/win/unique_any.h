#pragma once

#include <utility>

namespace Base {

// Move-only owner of one handle. Traits name the handle type, its invalid value and
// how to close it:
//   struct Traits { using Type = ...; static Type Invalid(); static void Close(Type); };
template <typename Traits>
class UniqueAny {
public:
    using Type = typename Traits::Type;

    UniqueAny() = default;
    explicit UniqueAny(Type value) : value_(value) {}
    ~UniqueAny() { Reset(); }

    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.Take()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) {
            Reset(other.Take());
        }
        return *this;
    }

    Type Get() const { return value_; }
    bool IsValid() const { return value_ != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }

    // Closes what is held (if anything) and holds `value` instead.
    void Reset(Type value = Traits::Invalid()) {
        Type old = std::exchange(value_, value);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

    // Gives up ownership without closing.
    [[nodiscard]] Type Take() { return std::exchange(value_, Traits::Invalid()); }

private:
    Type value_ = Traits::Invalid();
};

}  // namespace Base
