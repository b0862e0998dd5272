// Reading numbers typed by the user or found in files, independent of the locale.
#pragma once

#include "gem/vector3.h"

#include <cstdint>
#include <optional>
#include <string>

// A real: trimmed; optional sign, digits with an optional point, optional exponent. Empty text,
// any other character, or a value out of range gives nothing.
std::optional<Real> ReadReal(const std::string& text);

// A whole number in the 32-bit range: trimmed; optional sign and digits only.
std::optional<std::int32_t> ReadInteger(const std::string& text);
