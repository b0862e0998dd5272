// Reflection and transmission of a plane wave at a flat boundary between two clear media.
#pragma once

#include <complex>

namespace optics {

// The amplitude coefficients for the field across (s) and in (p) the plane of incidence. The p unit
// vectors are s × direction for each wave, so that at normal incidence rp = -rs, and the reflected
// field is the incident field times rs in a fixed frame. Beyond the critical angle |rs| = |rp| = 1 and
// their phases differ: total internal reflection turns linear into elliptic polarisation.
// ts and tp are power amplitudes, sqrt(1 - |r|^2): the transmitted field carries exactly the power
// that is not reflected, so energy is kept to rounding.
struct FresnelCoefficients {
    std::complex<double> Rs, Rp;
    double Ts = 0, Tp = 0;
    bool Total = false; // total internal reflection
    double CosT = 0;    // the cosine of the angle of refraction (0 when total)
};

// Light arriving at the cosine cosI (> 0) of the angle of incidence from a medium of index n1 at a
// medium of index n2.
FresnelCoefficients Fresnel(double cosI, double n1, double n2);

// The unpolarised power reflectance, the mean of |rs|^2 and |rp|^2.
double Reflectance(double cosI, double n1, double n2);

} // namespace optics
