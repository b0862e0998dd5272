#include "gem/range_error.h"

void ThrowRangeError(const char* table, long long index, long long low, long long high) {
    throw RangeError("Range error: " + std::string(table) + " index " + std::to_string(index) +
                     " is outside " + std::to_string(low) + " .. " + std::to_string(high));
}
