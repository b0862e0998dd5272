#include "optics/picture.h"

#include "gem/parallel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <istream>
#include <ostream>

namespace optics {
namespace {
// Traces the pixels row by row on every core: colour(x, y) is the linear colour of the picture point.
template <typename Colour> Image Render(const Tracer& tracer, const PictureOptions& picture, Colour colour) {
    Image image{picture.Size, picture.Size, std::vector<std::uint8_t>(3 * picture.Size * picture.Size)};
    double x0, y0, side;
    tracer.Outline(x0, y0, side);
    const double pixel = side / picture.Size, step = pixel / picture.Supersampling;
    const double weight = 1.0 / (picture.Supersampling * picture.Supersampling);
    engine::WorkQueue rows(picture.Size, 1);
    engine::RunOnThreads(engine::WorkerThreads(picture.Size), [&](int) {
        rows.Drain([&](int row) {
            for (int column = 0; column < picture.Size; ++column) {
                Vec3 sum;
                for (int i = 0; i < picture.Supersampling; ++i)
                    for (int j = 0; j < picture.Supersampling; ++j) {
                        const double x = x0 + column * pixel + (i + 0.5) * step;
                        const double y = y0 + side - row * pixel - (j + 0.5) * step;
                        sum = sum + colour(tracer.EyeRay(x, y));
                    }
                std::uint8_t* p = &image.Rgb[3 * (row * picture.Size + column)];
                p[0] = SrgbByte(weight * sum.x), p[1] = SrgbByte(weight * sum.y),
                p[2] = SrgbByte(weight * sum.z);
            }
            return !Cancelled(picture.Cancel);
        });
    });
    return image;
}

std::string Format(const char* format, double a, double b = 0, double c = 0, double d = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

std::string Base64(std::string_view bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<std::uint8_t>(bytes[i + k]) : 0);
        for (std::size_t k = 0; k < 4; ++k)
            text += k <= n ? digits[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return text;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    return out;
}
} // namespace

std::uint8_t SrgbByte(double linear) {
    const double c = std::clamp(linear, 0.0, 1.0);
    const double encoded = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(255 * encoded));
}

Image BrightnessPicture(const TracedStone& stone, const TraceOptions& options,
                        const PictureOptions& picture) {
    const Tracer tracer(stone, options);
    return Render(tracer, picture, [&](const Ray& ray) {
        const RayOutcome o = tracer.Trace(ray);
        if (!o.Hit) return BackgroundColour;
        const double grey = Radiance(o, picture.Light);
        return Vec3{grey, grey, grey} + o.Windowed * WindowColour + o.Shadowed * ShadowColour;
    });
}

Image ColourPicture(const TracedStone& stone, const Material& material, const TraceOptions& options,
                    const PictureOptions& picture) {
    const SpectralTracer tracer(stone, material, options);
    return Render(tracer.Geometry(), picture, [&](const Ray& ray) {
        bool hit;
        const SpectralRadiance radiance = tracer.Trace(ray, picture.Light, hit);
        return hit ? LinearRgb(ColourOf(radiance)) : BackgroundColour;
    });
}

std::string TiltCurvesSvg(const std::vector<TiltPoint>& along, const std::vector<TiltPoint>& across,
                          const std::string& title) {
    constexpr double width = 640, height = 400, left = 60, right = 20, top = 40, bottom = 50;
    const double plotWidth = width - left - right, plotHeight = height - top - bottom;
    double from = -30, to = 30;
    if (!along.empty()) from = along.front().Angle, to = along.back().Angle;
    auto x = [&](double angle) { return left + (angle - from) / (to - from) * plotWidth; };
    auto y = [&](double share) { return top + (1 - share) * plotHeight; };
    std::string svg =
        Format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" viewBox=\"0 0 "
               "%g %g\" font-family=\"sans-serif\" font-size=\"12\">\n",
               width, height, width, height);
    svg += Format("<rect width=\"%g\" height=\"%g\" fill=\"white\"/>\n", width, height);
    svg += "<text x=\"" + Format("%g", width / 2) + "\" y=\"22\" text-anchor=\"middle\" font-size=\"15\">" +
           Escaped(title) + "</text>\n";
    for (int percent = 0; percent <= 100; percent += 20) {
        svg += Format("<line x1=\"%g\" y1=\"%.1f\" x2=\"%g\" y2=\"%.1f\" stroke=\"#ddd\"/>", left,
                      y(percent / 100.0), width - right, y(percent / 100.0));
        svg += Format("<text x=\"%g\" y=\"%.1f\" text-anchor=\"end\">%g%%</text>\n", left - 6,
                      y(percent / 100.0) + 4, percent);
    }
    for (double angle = std::ceil(from / 10) * 10; angle <= to; angle += 10)
        svg += Format("<line x1=\"%.1f\" y1=\"%g\" x2=\"%.1f\" y2=\"%g\" stroke=\"#ddd\"/><text x=\"%.1f\" ",
                      x(angle), top, x(angle), top + plotHeight) +
               Format("y=\"%g\" text-anchor=\"middle\">%g\xC2\xB0</text>\n", top + plotHeight + 18, angle);
    svg += Format("<text x=\"%g\" y=\"%g\" text-anchor=\"middle\">tilt</text>\n", left + plotWidth / 2,
                  height - 8);
    struct Line {
        const std::vector<TiltPoint>* curve;
        bool cos;
        const char* colour;
        const char* dash;
        const char* name;
    };
    const Line lines[] = {{&along, false, "#1f4fbf", "", "ISO, axis along index 0"},
                          {&along, true, "#bf6a1f", "", "COS, axis along index 0"},
                          {&across, false, "#1f4fbf", "6 4", "ISO, axis across index 0"},
                          {&across, true, "#bf6a1f", "6 4", "COS, axis across index 0"}};
    int legend = 0;
    for (const Line& line : lines) {
        if (line.curve->empty()) continue;
        std::string points;
        for (const TiltPoint& p : *line.curve)
            points += Format("%.1f,%.1f ", x(p.Angle), y(line.cos ? p.Cos.Value : p.Iso.Value));
        svg += std::string("<polyline fill=\"none\" stroke=\"") + line.colour + "\" stroke-width=\"2\"" +
               (*line.dash ? std::string(" stroke-dasharray=\"") + line.dash + "\"" : "") + " points=\"" +
               points + "\"/>\n";
        const double ly = top + plotHeight - 14 - 16 * legend++;
        svg += Format("<line x1=\"%g\" y1=\"%g\" x2=\"%g\" y2=\"%g\" ", left + 12, ly, left + 40, ly) +
               std::string("stroke=\"") + line.colour + "\" stroke-width=\"2\"" +
               (*line.dash ? std::string(" stroke-dasharray=\"") + line.dash + "\"" : "") + "/>" +
               Format("<text x=\"%g\" y=\"%g\">", left + 46, ly + 4) + line.name + "</text>\n";
    }
    svg += "</svg>\n";
    return svg;
}

std::string PictureSvg(std::string_view png, int width, int height, const std::string& caption) {
    const int captionHeight = 24;
    std::string svg = Format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" ", width,
                             height + captionHeight) +
                      "font-family=\"sans-serif\" font-size=\"12\">\n";
    svg += Format("<rect width=\"%g\" height=\"%g\" fill=\"black\"/>\n", width, height + captionHeight);
    svg += Format("<image width=\"%g\" height=\"%g\" href=\"data:image/png;base64,", width, height) +
           Base64(png) + "\"/>\n";
    svg += Format("<text x=\"6\" y=\"%g\" fill=\"white\">", height + 16) + Escaped(caption) +
           "</text>\n</svg>\n";
    return svg;
}

void WritePpm(std::ostream& out, const Image& image) {
    out << "P6\n" << image.Width << ' ' << image.Height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.Rgb.data()),
              static_cast<std::streamsize>(image.Rgb.size()));
}

bool ReadPpm(std::istream& in, Image& image) {
    std::string magic;
    int maximum = 0;
    if (!(in >> magic >> image.Width >> image.Height >> maximum) || magic != "P6" || maximum != 255)
        return false;
    in.get();
    image.Rgb.resize(3 * static_cast<std::size_t>(image.Width) * image.Height);
    return static_cast<bool>(
        in.read(reinterpret_cast<char*>(image.Rgb.data()), static_cast<std::streamsize>(image.Rgb.size())));
}

} // namespace optics
