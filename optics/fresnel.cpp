#include "optics/fresnel.h"

#include <algorithm>
#include <cmath>

namespace optics {

FresnelCoefficients Fresnel(double cosI, double n1, double n2) {
    using C = std::complex<double>;
    FresnelCoefficients f;
    const double ratio = n1 / n2;
    const double sin2T = ratio * ratio * std::max(0.0, 1 - cosI * cosI);
    f.Total = sin2T >= 1;
    // Beyond the critical angle the refracted wave is evanescent: its cosine is imaginary.
    const C cosT = f.Total ? C(0, std::sqrt(sin2T - 1)) : C(std::sqrt(1 - sin2T), 0);
    f.Rs = (n1 * cosI - n2 * cosT) / (n1 * cosI + n2 * cosT);
    f.Rp = (n2 * cosI - n1 * cosT) / (n2 * cosI + n1 * cosT);
    if (!f.Total) {
        f.CosT = cosT.real();
        f.Ts = std::sqrt(std::max(0.0, 1 - std::norm(f.Rs)));
        f.Tp = std::sqrt(std::max(0.0, 1 - std::norm(f.Rp)));
    }
    return f;
}

double Reflectance(double cosI, double n1, double n2) {
    const FresnelCoefficients f = Fresnel(cosI, n1, n2);
    return 0.5 * (std::norm(f.Rs) + std::norm(f.Rp));
}

} // namespace optics
