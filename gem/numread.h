// Reading numbers typed by the user or found in files, independent of the locale.
#pragma once

#include "gem/reach.h"

#include <cstdint>
#include <optional>
#include <string>

// A real within +-EngineReach: trimmed; optional sign, digits with an optional point, optional
// exponent. Empty text, any other character (so also "nan" and "inf"), or a value beyond the reach
// gives nothing.
std::optional<Real> ReadReal(const std::string& text);

// Why ReadReal gives nothing for a text.
enum class RealFault {
    None,       // ReadReal gives a value
    NotANumber, // the text is not a number
    OutOfReach, // a number, but beyond +-EngineReach (or beyond the range of the reals)
};
RealFault RealFaultOf(const std::string& text);

// A whole number in the 32-bit range: trimmed; optional sign and digits only.
std::optional<std::int32_t> ReadInteger(const std::string& text);
