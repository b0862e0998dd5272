#include "stone/materials.h"

#include "gem/numtext.h"
#include "gem/range_error.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <string>

namespace {
// Specific gravity, refractive index (the lower index of a doubly refracting material, as a
// refractometer reads it) and B-G dispersion as the standard gemmological references publish them.
const char* const GiaWebster =
    "GIA Gem Reference Guide (Gemological Institute of America, 1988); dispersion: "
    "R. Webster, Gems, 5th ed. (1994), table of B-G dispersions";
const char* const SchottBk7 =
    "SCHOTT optical glass data sheet N-BK7: density 2.51, nd 1.5168; B-G dispersion "
    "from its Sellmeier coefficients";

const Material Table[] = {
    {"Quartz", 2.65L, 1.544L, 0.013L, GiaWebster},
    {"Beryl", 2.72L, 1.577L, 0.014L, GiaWebster},
    {"Tourmaline", 3.06L, 1.624L, 0.017L, GiaWebster},
    {"Topaz", 3.53L, 1.619L, 0.014L, GiaWebster},
    {"Spinel", 3.60L, 1.718L, 0.020L, GiaWebster},
    {"Corundum", 4.00L, 1.762L, 0.018L, GiaWebster},
    {"Pyrope garnet", 3.78L, 1.746L, 0.022L, GiaWebster},
    {"Almandine garnet", 4.05L, 1.790L, 0.024L, GiaWebster},
    {"Spessartine garnet", 4.15L, 1.810L, 0.027L, GiaWebster},
    {"Grossular garnet", 3.61L, 1.740L, 0.027L, GiaWebster},
    {"Demantoid garnet", 3.84L, 1.888L, 0.057L, GiaWebster},
    {"Peridot", 3.34L, 1.654L, 0.020L, GiaWebster},
    {"Zircon", 4.70L, 1.925L, 0.039L, GiaWebster},
    {"Chrysoberyl", 3.73L, 1.746L, 0.015L, GiaWebster},
    {"Spodumene", 3.18L, 1.660L, 0.017L, GiaWebster},
    {"Iolite", 2.61L, 1.542L, 0.017L, GiaWebster},
    {"Tanzanite", 3.35L, 1.691L, 0.030L, GiaWebster},
    {"Andalusite", 3.17L, 1.634L, 0.016L, GiaWebster},
    {"Danburite", 3.00L, 1.630L, 0.017L, GiaWebster},
    {"Sphene", 3.52L, 1.900L, 0.051L, GiaWebster},
    {"Fluorite", 3.18L, 1.434L, 0.007L, GiaWebster},
    {"Diamond", 3.52L, 2.417L, 0.044L, GiaWebster},
    {"Cubic zirconia", 5.80L, 2.160L, 0.060L, GiaWebster},
    {"YAG", 4.55L, 1.833L, 0.028L, GiaWebster},
    {"GGG", 7.05L, 1.970L, 0.038L, GiaWebster},
    {"Strontium titanate", 5.13L, 2.409L, 0.190L, GiaWebster},
    {"Synthetic moissanite", 3.22L, 2.648L, 0.104L, GiaWebster},
    {"Glass (N-BK7)", 2.51L, 1.5168L, 0.0138L, SchottBk7},
};

// The Fraunhofer lines of the B-G interval and the sodium D line, in nanometres.
constexpr Real LineB = 686.7L, LineG = 430.8L, LineD = 589.3L;

std::string Folded(std::string_view text) {
    std::string folded = Trim(std::string(text));
    for (char& c : folded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

void CheckPositive(Real value, const char* what) {
    if (!(std::isfinite(value) && value > 0))
        throw RangeError(std::string(what) + " must be a positive finite number, not " + NumberText(value));
}

Real Extent(const Stone& stone, SizeAlong along) {
    const Real extent =
        along == SizeAlong::Width ? stone.BoxMax.x - stone.BoxMin.x : stone.BoxMax.y - stone.BoxMin.y;
    CheckPositive(extent, "The stone's extent");
    return extent;
}

constexpr Real MilligramsPerCarat = 200; // mm³ × g/cm³ gives milligrams
} // namespace

std::span<const Material> Materials() {
    return Table;
}

const Material* FindMaterial(std::string_view name) {
    const std::string wanted = Folded(name);
    for (const Material& material : Table)
        if (Folded(material.Name) == wanted) return &material;
    return nullptr;
}

Real RefractiveIndexAt(const Material& material, Real wavelengthNm) {
    CheckPositive(wavelengthNm, "A wavelength");
    const Real b = material.Dispersion / (1 / (LineG * LineG) - 1 / (LineB * LineB));
    return material.RefractiveIndex + b * (1 / (wavelengthNm * wavelengthNm) - 1 / (LineD * LineD));
}

Real CaratsOf(const Stone& stone, Real sizeMm, Real specificGravity, SizeAlong along) {
    CheckPositive(sizeMm, "A size");
    CheckPositive(specificGravity, "A specific gravity");
    const Real scale = sizeMm / Extent(stone, along); // millimetres per design unit
    return stone.Volume * scale * scale * scale * specificGravity / MilligramsPerCarat;
}

Real SizeForCarats(const Stone& stone, Real carats, Real specificGravity, SizeAlong along) {
    CheckPositive(carats, "A weight");
    CheckPositive(specificGravity, "A specific gravity");
    CheckPositive(stone.Volume, "The stone's volume");
    const Real scale = std::cbrt(carats * MilligramsPerCarat / (specificGravity * stone.Volume));
    return scale * Extent(stone, along);
}

std::string WeightText(Real widthMm, const std::string& material, Real carats) {
    return Trim(fixed(widthMm, 0, 2)) + " mm wide in " + material + ": " + Trim(fixed(carats, 0, 2)) + " ct";
}

namespace {
constexpr const char* OwnSource = "the user's own";

bool PositiveNumber(const std::string& text, Real& value) {
    std::istringstream in(Trim(text));
    in.imbue(std::locale::classic());
    return static_cast<bool>(in >> value) && in.eof() && std::isfinite(value) && value > 0;
}
} // namespace

bool ParseMaterial(const std::string& line, Material& material, std::string& why) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ';');)
        fields.push_back(Trim(field));
    if (fields.size() != 3 || fields[0].empty()) {
        why = "A material is given as: name; specific gravity; refractive index";
        return false;
    }
    Material read{fields[0], 0, 0, 0, OwnSource};
    if (!PositiveNumber(fields[1], read.SpecificGravity)) {
        why = "The specific gravity \"" + fields[1] + "\" is not a positive number";
        return false;
    }
    if (!PositiveNumber(fields[2], read.RefractiveIndex) || read.RefractiveIndex <= 1) {
        why = "The refractive index \"" + fields[2] + "\" is not a number above 1";
        return false;
    }
    material = read;
    return true;
}

std::string MaterialLine(const Material& material) {
    return material.Name + "; " + Trim(fixed(material.SpecificGravity, 0, 3)) + "; " +
           Trim(fixed(material.RefractiveIndex, 0, 4));
}

std::vector<Material> ParseMaterials(const std::string& lines) {
    std::vector<Material> own;
    std::istringstream in(lines);
    std::string why;
    for (std::string line; std::getline(in, line);)
        if (Material m; ParseMaterial(line, m, why)) own.push_back(m);
    return own;
}
