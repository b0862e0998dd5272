// Dispersion: every wavelength traced on its own path, the returned light's colour, and fire.
#pragma once

#include "optics/figures.h"
#include "optics/spectrum.h"

#include <vector>

namespace optics {

// Eye rays traced at every wavelength of Wavelengths() with the material's index there.
class SpectralTracer {
  public:
    // `options.RefractiveIndex` is replaced by the material's at each wavelength.
    SpectralTracer(const TracedStone& stone, const Material& material, const TraceOptions& options);
    SpectralRadiance Trace(const Ray& ray, Sky sky, bool& hit) const;
    const Tracer& Geometry() const { return tracers_[WavelengthCount / 2]; }

  private:
    std::vector<Tracer> tracers_;
};

struct FireOptions {
    Sky Light = Sky::Cos;     // the sky: its gradient turns the spread of the wavelengths into colour
    double Saturation = 0.05; // a ray's colour counts as fire beyond this u'v' distance from white
    double Tilt = 10;         // degrees: fire is averaged over 0, t/2 and t on both tilt axes
};

// Brightness as the eye sees it (luminance Y of the returned light, white = 1) and fire: the share of
// the returned luminance whose colour is saturated beyond the threshold.
struct ColourFigures {
    Estimate Brightness, Fire;
};
ColourFigures ComputeColourFigures(const TracedStone& stone, const Material& material,
                                   const TraceOptions& options, const Sampling& sampling,
                                   const FireOptions& fire = {});
// The same averaged over the tilts of FireOptions::Tilt.
ColourFigures ComputeFire(const TracedStone& stone, const Material& material, const TraceOptions& options,
                          const Sampling& sampling, const FireOptions& fire = {});

} // namespace optics
