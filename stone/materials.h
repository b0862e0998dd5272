// Gem materials with the constants that weight and light need, and the weight of a stone in carats.
#pragma once

#include "stone/stone.h"

#include <span>
#include <string>
#include <string_view>

struct Material {
    std::string Name;
    Real SpecificGravity = 0; // g/cm³
    Real RefractiveIndex = 0; // n at the sodium D line, 589.3 nm (the lower index of a doubly refracting one)
    Real Dispersion = 0;      // n(430.8 nm) - n(686.7 nm), the B-G interval; 0 when unknown
    std::string Source;       // where the values are published
};

// The built-in table, in the order the program lists it.
std::span<const Material> Materials();
// A built-in material by name, case and blanks at either end ignored; null when there is none.
const Material* FindMaterial(std::string_view name);

// The refractive index at a wavelength in nanometres, by Cauchy's n = A + B / λ² through the index at
// the D line and the B-G dispersion (the index itself when the dispersion is unknown).
Real RefractiveIndexAt(const Material& material, Real wavelengthNm);

// Which extent of the stone a size in millimetres gives.
enum class SizeAlong { Width, Length };

// The weight in carats (mm³ × specific gravity / 200) of the stone cut at the given size. A size or
// specific gravity that is not a positive finite number is a RangeError.
Real CaratsOf(const Stone& stone, Real sizeMm, Real specificGravity, SizeAlong along = SizeAlong::Width);
// The size in millimetres at which the stone weighs `carats`; the same refusals.
Real SizeForCarats(const Stone& stone, Real carats, Real specificGravity, SizeAlong along = SizeAlong::Width);
