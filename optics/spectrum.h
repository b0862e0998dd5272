// Materials with their dispersion, daylight and the eye's colour matching, for the colour of the light a
// stone returns.
#pragma once

#include "optics/vec.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace optics {

// A material's refractive index against the wavelength, from a Sellmeier fit
//   n^2 = A + sum B_i lambda^2 / (lambda^2 - C_i)   (lambda in micrometres, C_i in square micrometres)
// or, where only the index and a dispersion are published, a Cauchy fit n = A + B / lambda^2.
struct Material {
    enum class Law { Sellmeier, Cauchy };
    std::string Name;
    Law Fit = Law::Sellmeier;
    double A = 1;
    std::array<double, 3> B{}, C{};
    std::string Source;
};

double IndexAt(const Material& material, double wavelengthNm);
// The index at the helium d line, 587.56 nm: the index a material is known by.
double IndexD(const Material& material);

// The table of materials, each with the source of its fit.
const std::vector<Material>& Materials();
// The material of that name (any case), or null.
const Material* FindMaterial(std::string_view name);

// For a typed index: a Cauchy fit through nd with a typical Abbe number.
constexpr double TypicalAbbeNumber = 50;
Material TypedMaterial(double indexD, double abbeNumber = TypicalAbbeNumber);

// The wavelengths traced for colour: 16 from 400 to 700 nm.
constexpr int WavelengthCount = 16;
struct Wavelength {
    double Nm;
    double X, Y, Z; // daylight (D65) times the colour matching functions, Y summing to 1 over all
};
const std::array<Wavelength, WavelengthCount>& Wavelengths();

// A colour in CIE XYZ, Y = 1 for white (radiance 1 at every wavelength).
struct Colour {
    double X = 0, Y = 0, Z = 0;
};
using SpectralRadiance = std::array<double, WavelengthCount>;
Colour ColourOf(const SpectralRadiance& radiance);
// The distance of the colour's chromaticity from white's in the CIE 1976 u'v' diagram (0 for grey).
double Saturation(const Colour& colour);
// Linear sRGB, scaled so that white is (1, 1, 1).
Vec3 LinearRgb(const Colour& colour);

} // namespace optics
