// The program's one exception type for a table index outside its declared bounds.
#pragma once

#include <stdexcept>
#include <string>

// Thrown by every range-checked table access. Commands catch it and show its message.
class RangeError : public std::out_of_range {
  public:
    explicit RangeError(const std::string& message) : std::out_of_range(message) {}
};

// Throws a RangeError naming the table, the index and the declared bounds.
[[noreturn]] void ThrowRangeError(const char* table, long long index, long long low, long long high);
