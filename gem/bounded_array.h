// A fixed-size table with declared inclusive bounds, like every table of the model.
#pragma once

#include "gem/range_error.h"

#include <array>
#include <cstddef>

// Indexes Low ... High; any other index throws RangeError naming the table.
template <typename T, int Low, int High> class BoundedArray {
  public:
    static constexpr int Lowest = Low;
    static constexpr int Highest = High;

    explicit BoundedArray(const char* name = "table") : name_(name) {}

    T& operator[](int i) { return items_[Slot(i)]; }
    const T& operator[](int i) const { return items_[Slot(i)]; }

    static constexpr bool Contains(int i) { return i >= Low && i <= High; }

  private:
    std::size_t Slot(int i) const {
        if (!Contains(i)) ThrowRangeError(name_, i, Low, High);
        return static_cast<std::size_t>(i - Low);
    }

    const char* name_;
    std::array<T, High - Low + 1> items_{};
};
