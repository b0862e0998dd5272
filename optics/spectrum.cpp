#include "optics/spectrum.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace optics {
namespace {
// The Fraunhofer lines of the Abbe number and the B and G lines of the gemmologist's dispersion.
constexpr double LineD = 587.56, LineF = 486.13, LineC = 656.27, LineB = 686.7, LineG = 430.8;

double Micrometres(double nm) {
    return nm / 1000;
}

// A Cauchy fit from the index at the d line and the index difference between two wavelengths.
Material Cauchy(std::string name, double indexD, double difference, double shortNm, double longNm,
                std::string source) {
    const double inverseShort = 1 / std::pow(Micrometres(shortNm), 2);
    const double inverseLong = 1 / std::pow(Micrometres(longNm), 2);
    const double b = difference / (inverseShort - inverseLong);
    Material m;
    m.Name = std::move(name);
    m.Fit = Material::Law::Cauchy;
    m.A = indexD - b / std::pow(Micrometres(LineD), 2);
    m.B = {b, 0, 0};
    m.Source = std::move(source);
    return m;
}

Material Sellmeier(std::string name, double a, std::array<double, 3> b, std::array<double, 3> c,
                   std::string source) {
    return {std::move(name), Material::Law::Sellmeier, a, b, c, std::move(source)};
}

// The CIE 1931 colour matching functions as the multi-lobe Gaussian fit of Wyman, Sloan and Shirley,
// "Simple Analytic Approximations to the CIE XYZ Color Matching Functions", JCGT 2(2), 2013.
double Lobe(double nm, double mean, double below, double above) {
    const double t = (nm - mean) / (nm < mean ? below : above);
    return std::exp(-0.5 * t * t);
}
double MatchX(double nm) {
    return 1.056 * Lobe(nm, 599.8, 37.9, 31.0) + 0.362 * Lobe(nm, 442.0, 16.0, 26.7) -
           0.065 * Lobe(nm, 501.1, 20.4, 26.2);
}
double MatchY(double nm) {
    return 0.821 * Lobe(nm, 568.8, 46.9, 40.5) + 0.286 * Lobe(nm, 530.9, 16.3, 31.1);
}
double MatchZ(double nm) {
    return 1.217 * Lobe(nm, 437.0, 11.8, 36.0) + 0.681 * Lobe(nm, 459.0, 26.0, 13.8);
}

// CIE standard illuminant D65, relative spectral power at 400, 420, ... 700 nm (CIE 15:2004, table T.1).
constexpr std::array<double, WavelengthCount> Daylight = {82.75,  93.43,  104.86, 117.81, 115.92, 109.35,
                                                          104.79, 104.41, 100.00, 95.79,  90.01,  87.70,
                                                          83.70,  80.21,  78.28,  71.61};

std::array<Wavelength, WavelengthCount> MakeWavelengths() {
    std::array<Wavelength, WavelengthCount> w{};
    double sumY = 0;
    for (int i = 0; i < WavelengthCount; ++i) {
        const double nm = 400 + 20.0 * i;
        w[i] = {nm, Daylight[i] * MatchX(nm), Daylight[i] * MatchY(nm), Daylight[i] * MatchZ(nm)};
        sumY += w[i].Y;
    }
    for (Wavelength& l : w)
        l.X /= sumY, l.Y /= sumY, l.Z /= sumY;
    return w;
}

// Linear sRGB from XYZ (IEC 61966-2-1).
Vec3 RgbOf(const Colour& c) {
    return {3.2406 * c.X - 1.5372 * c.Y - 0.4986 * c.Z, -0.9689 * c.X + 1.8758 * c.Y + 0.0415 * c.Z,
            0.0557 * c.X - 0.2040 * c.Y + 1.0570 * c.Z};
}

void Chromaticity(const Colour& c, double& u, double& v) {
    const double d = c.X + 15 * c.Y + 3 * c.Z;
    u = d > 0 ? 4 * c.X / d : 0;
    v = d > 0 ? 9 * c.Y / d : 0;
}

Colour White() {
    SpectralRadiance one;
    one.fill(1);
    return ColourOf(one);
}
} // namespace

double IndexAt(const Material& m, double nm) {
    const double l2 = std::pow(Micrometres(nm), 2);
    if (m.Fit == Material::Law::Cauchy) return m.A + m.B[0] / l2;
    double n2 = m.A;
    for (int i = 0; i < 3; ++i)
        n2 += m.B[i] * l2 / (l2 - m.C[i]);
    return std::sqrt(n2);
}

double IndexD(const Material& m) {
    return IndexAt(m, LineD);
}

const std::vector<Material>& Materials() {
    static const std::vector<Material> table = {
        Sellmeier("quartz", 1.28604141, {1.07044083, 1.10202242, 0}, {1.00585997e-2, 100, 0},
                  "G. Ghosh, Opt. Commun. 163, 95 (1999): ordinary ray"),
        Sellmeier("fused silica", 1, {0.6961663, 0.4079426, 0.8974794},
                  {0.0684043 * 0.0684043, 0.1162414 * 0.1162414, 9.896161 * 9.896161},
                  "I. H. Malitson, J. Opt. Soc. Am. 55, 1205 (1965)"),
        Sellmeier("glass", 1, {1.03961212, 0.231792344, 1.01046945},
                  {0.00600069867, 0.0200179144, 103.560653}, "Schott N-BK7 data sheet"),
        Sellmeier("corundum", 1, {1.4313493, 0.65054713, 5.3414021},
                  {0.0726631 * 0.0726631, 0.1193242 * 0.1193242, 18.028251 * 18.028251},
                  "I. H. Malitson, M. J. Dodge, J. Opt. Soc. Am. 62, 1405 (1972): ordinary ray"),
        Sellmeier("yag", 1, {2.282, 3.27644, 0}, {0.01185, 282.734, 0},
                  "D. E. Zelmon, D. L. Small, R. Page, Appl. Opt. 37, 4933 (1998)"),
        Sellmeier("cubic zirconia", 1, {1.347091, 2.117788, 9.452943},
                  {0.062543 * 0.062543, 0.166739 * 0.166739, 24.320570 * 24.320570},
                  "D. L. Wood, K. Nassau, Appl. Opt. 21, 2978 (1982)"),
        Sellmeier("diamond", 1, {0.3306, 4.3356, 0}, {0.1750 * 0.1750, 0.1060 * 0.1060, 0},
                  "F. Peter, Z. Phys. 15, 358 (1923)"),
        Cauchy("beryl", 1.577, 0.014, LineG, LineB, "GIA Gem Reference Guide (1995): nD and B-G dispersion"),
        Cauchy("topaz", 1.619, 0.014, LineG, LineB, "GIA Gem Reference Guide (1995): nD and B-G dispersion"),
        Cauchy("tourmaline", 1.624, 0.017, LineG, LineB,
               "GIA Gem Reference Guide (1995): nD and B-G dispersion"),
        Cauchy("spinel", 1.718, 0.020, LineG, LineB, "GIA Gem Reference Guide (1995): nD and B-G dispersion"),
        Cauchy("garnet", 1.76, 0.024, LineG, LineB,
               "GIA Gem Reference Guide (1995): nD and B-G dispersion (almandine-pyrope)"),
    };
    return table;
}

const Material* FindMaterial(std::string_view name) {
    for (const Material& m : Materials())
        if (std::equal(m.Name.begin(), m.Name.end(), name.begin(), name.end(),
                       [](char a, char b) { return std::tolower(a) == std::tolower(b); }))
            return &m;
    return nullptr;
}

Material TypedMaterial(double indexD, double abbeNumber) {
    if (!(indexD > 1) || !(abbeNumber > 0))
        throw std::invalid_argument("an index above 1 and an Abbe number above 0");
    // The Abbe number is (nd - 1) / (nF - nC).
    return Cauchy("typed", indexD, (indexD - 1) / abbeNumber, LineF, LineC, "typical Abbe number");
}

const std::array<Wavelength, WavelengthCount>& Wavelengths() {
    static const std::array<Wavelength, WavelengthCount> w = MakeWavelengths();
    return w;
}

Colour ColourOf(const SpectralRadiance& radiance) {
    Colour c;
    const auto& w = Wavelengths();
    for (int i = 0; i < WavelengthCount; ++i)
        c.X += w[i].X * radiance[i], c.Y += w[i].Y * radiance[i], c.Z += w[i].Z * radiance[i];
    return c;
}

double Saturation(const Colour& colour) {
    static const Colour white = White();
    double u, v, uw, vw;
    Chromaticity(colour, u, v);
    Chromaticity(white, uw, vw);
    return colour.Y > 0 ? std::hypot(u - uw, v - vw) : 0;
}

Vec3 LinearRgb(const Colour& colour) {
    static const Vec3 white = RgbOf(White());
    const Vec3 rgb = RgbOf(colour);
    return {rgb.x / white.x, rgb.y / white.y, rgb.z / white.z};
}

} // namespace optics
