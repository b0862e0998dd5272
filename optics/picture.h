// Pictures of the light a stone returns: face up in grey with windowing and the head shadow in colour,
// in colour with dispersion, and the tilt curves as a plot.
#pragma once

#include "optics/dispersion.h"
#include "optics/tilt.h"

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace optics {

// 8-bit sRGB pixels, row by row from the top, three bytes each.
struct Image {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Rgb;
};

struct PictureOptions {
    int Size = 256;        // pixels on each side of the square that holds the outline
    Sky Light = Sky::Iso;  // the sky of the grey levels
    int Supersampling = 2; // eye rays per pixel along each side
    // When set and true, the rendering stops early and the picture is incomplete.
    const std::atomic<bool>* Cancel = nullptr;
};

// The colours of the brightness picture, linear RGB.
constexpr Vec3 BackgroundColour{0.012, 0.012, 0.018};
constexpr Vec3 WindowColour{0.05, 0.25, 0.9}; // light lost through the pavilion or downwards
constexpr Vec3 ShadowColour{0.8, 0.15, 0.05}; // light that meets the head shadow

// Face up: each pixel the returned radiance in grey, plus the windowed and the shadowed share in their
// colours. The top of the picture is +y.
Image BrightnessPicture(const TracedStone& stone, const TraceOptions& options,
                        const PictureOptions& picture = {});
// Face up in colour: every wavelength traced on its own path.
Image ColourPicture(const TracedStone& stone, const Material& material, const TraceOptions& options,
                    const PictureOptions& picture = {});

// The 8-bit sRGB value of a linear intensity (clipped to 0 ... 1).
std::uint8_t SrgbByte(double linear);

// The tilt curves, ISO and COS on both axes, as an SVG document.
std::string TiltCurvesSvg(const std::vector<TiltPoint>& along, const std::vector<TiltPoint>& across,
                          const std::string& title);
// An SVG document that shows a PNG picture (its bytes) with a caption under it.
std::string PictureSvg(std::string_view png, int width, int height, const std::string& caption);

// Binary PPM (P6), for pictures kept as test data.
void WritePpm(std::ostream& out, const Image& image);
bool ReadPpm(std::istream& in, Image& image);

} // namespace optics
