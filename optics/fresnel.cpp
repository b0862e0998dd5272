#include "optics/fresnel.h"

#include <algorithm>
#include <cmath>

namespace optics {

FresnelCoefficients Fresnel(double cosI, double n1, double n2) {
    FresnelCoefficients f;
    const double ratio = n1 / n2;
    const double sin2T = ratio * ratio * std::max(0.0, 1 - cosI * cosI);
    f.Total = sin2T >= 1;
    if (f.Total) {
        // The refracted wave is evanescent, its cosine imaginary, i b: each coefficient is
        // (a - i c) / (a + i c) = ((a^2 - c^2) - 2 i a c) / (a^2 + c^2), of modulus 1.
        const double b = std::sqrt(sin2T - 1);
        auto unit = [](double a, double c) {
            const double norm = a * a + c * c;
            return std::complex<double>((a * a - c * c) / norm, -2 * a * c / norm);
        };
        f.Rs = unit(n1 * cosI, n2 * b);
        f.Rp = unit(n2 * cosI, n1 * b);
        return f;
    }
    const double cosT = std::sqrt(1 - sin2T);
    const double rs = (n1 * cosI - n2 * cosT) / (n1 * cosI + n2 * cosT);
    const double rp = (n2 * cosI - n1 * cosT) / (n2 * cosI + n1 * cosT);
    f.Rs = rs, f.Rp = rp;
    f.CosT = cosT;
    f.Ts = std::sqrt(std::max(0.0, 1 - rs * rs));
    f.Tp = std::sqrt(std::max(0.0, 1 - rp * rp));
    return f;
}

double Reflectance(double cosI, double n1, double n2) {
    const FresnelCoefficients f = Fresnel(cosI, n1, n2);
    return 0.5 * (std::norm(f.Rs) + std::norm(f.Rp));
}

} // namespace optics
