#include "optics/dispersion.h"

#include "optics/tilt.h"

#include <cmath>

namespace optics {

SpectralTracer::SpectralTracer(const TracedStone& stone, const Material& material,
                               const TraceOptions& options) {
    tracers_.reserve(WavelengthCount);
    for (const Wavelength& w : Wavelengths()) {
        TraceOptions at = options;
        at.RefractiveIndex = IndexAt(material, w.Nm);
        tracers_.emplace_back(stone, at);
    }
}

SpectralRadiance SpectralTracer::Trace(const Ray& ray, Sky sky, bool& hit) const {
    SpectralRadiance radiance{};
    hit = false;
    for (int i = 0; i < WavelengthCount; ++i) {
        const RayOutcome o = tracers_[i].Trace(ray);
        hit = o.Hit;
        radiance[i] = Radiance(o, sky);
    }
    return radiance;
}

namespace {
struct ColourTally {
    RatioEstimator brightness, fire;
    void Merge(const ColourTally& other) {
        brightness.Merge(other.brightness);
        fire.Merge(other.fire);
    }
};
} // namespace

ColourFigures ComputeColourFigures(const TracedStone& stone, const Material& material,
                                   const TraceOptions& options, const Sampling& sampling,
                                   const FireOptions& fire) {
    const SpectralTracer tracer(stone, material, options);
    const ColourTally tally = SampleOutline<ColourTally>(
        tracer.Geometry(), sampling, [&](ColourTally& t, const Ray& a, const Ray& b) {
            bool hitA, hitB;
            const Colour ca = ColourOf(tracer.Trace(a, fire.Light, hitA));
            const Colour cb = ColourOf(tracer.Trace(b, fire.Light, hitB));
            t.brightness.AddPair(ca.Y, hitA, cb.Y, hitB);
            // Fire: the share of the returned luminance that is coloured.
            const double fa = Saturation(ca) > fire.Saturation ? ca.Y : 0;
            const double fb = Saturation(cb) > fire.Saturation ? cb.Y : 0;
            t.fire.AddPair(fa, ca.Y, fb, cb.Y);
        });
    return {tally.brightness.Result(), tally.fire.Result()};
}

ColourFigures ComputeFire(const TracedStone& stone, const Material& material, const TraceOptions& options,
                          const Sampling& sampling, const FireOptions& fire) {
    std::vector<ColourFigures> at{ComputeColourFigures(stone, material, options, sampling, fire)};
    for (double axis : {AlongIndexZero, AcrossIndexZero})
        for (double tilt : {fire.Tilt / 2, fire.Tilt})
            if (tilt != 0)
                at.push_back(ComputeColourFigures(stone.Tilted(Radians(axis), Radians(tilt)), material,
                                                  options, sampling, fire));
    ColourFigures mean;
    double brightnessVariance = 0, fireVariance = 0;
    for (const ColourFigures& f : at) {
        mean.Brightness.Value += f.Brightness.Value / at.size();
        mean.Fire.Value += f.Fire.Value / at.size();
        brightnessVariance += f.Brightness.Error * f.Brightness.Error;
        fireVariance += f.Fire.Error * f.Fire.Error;
    }
    mean.Brightness.Error = std::sqrt(brightnessVariance) / at.size();
    mean.Fire.Error = std::sqrt(fireVariance) / at.size();
    return mean;
}

} // namespace optics
