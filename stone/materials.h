// Gem materials with the constants that weight and light need, and the weight of a stone in carats.
#pragma once

#include "stone/stone.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// The weight as the diagram and the window give it: "8.00 mm wide in Quartz: 2.31 ct".
std::string WeightText(Real widthMm, const std::string& material, Real carats);

// A user's own materials, as the settings keep them: one "name; specific gravity; refractive index" per
// line. ParseMaterial answers false with `why` for a line without a name or with a value that is not a
// positive finite number (an index must exceed 1).
bool ParseMaterial(const std::string& line, Material& material, std::string& why);
std::string MaterialLine(const Material& material);
// The own materials of the lines that parse; lines that do not are left out.
std::vector<Material> ParseMaterials(const std::string& lines);
