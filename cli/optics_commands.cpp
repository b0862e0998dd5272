// optics: the light a stone returns, its figures with their standard errors, and its pictures.
#include "cli/tool.h"
#include "optics/dispersion.h"
#include "optics/picture.h"
#include "optics/tilt.h"
#include "optics/whole_stone.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>

namespace {
using namespace optics;
// Tilt curves and fire take fewer rays per figure than the face-up figures, at least this many.
constexpr long long FewestCurveRays = 500;
constexpr int CurveRayShare = 8; // a curve point gets the face-up rays over this
constexpr int FireRayShare = 8;  // fire traces 16 wavelengths per ray: the face-up rays over this

// The whole stone of the request: an ASC file's two halves, a crown and a pavilion design file, or one
// half closed by the girdle plane.
std::optional<TracedStone> LoadStone(const ToolRequest& request) {
    auto first = std::make_unique<TGem>(), second = std::make_unique<TGem>();
    const bool asc = QFileInfo(request.Input.Path).suffix().compare("asc", Qt::CaseInsensitive) == 0;
    if (asc) {
        InputOptions crown{request.Input.Path, "crown"}, pavilion{request.Input.Path, "pavilion"};
        if (!LoadAscDesign(crown, *first) || !LoadAscDesign(pavilion, *second)) return std::nullopt;
    } else {
        if (!LoadDesign(request.Input, *first)) return std::nullopt;
        if (!request.Optics.Partner.isEmpty() && !LoadDesign({request.Optics.Partner, ""}, *second))
            return std::nullopt;
    }
    const bool single = !asc && request.Optics.Partner.isEmpty();
    Stone stone;
    if (const FileResult made = MakeStoneOf(*first, single ? nullptr : second.get(), stone); !made)
        throw std::invalid_argument(made.Error().Message);
    return TracedStoneOf(stone);
}

void Percent(JsonWriter& json, std::string_view key, const Estimate& e) {
    json.Key(key);
    json.BeginObject();
    json.Key("value");
    json.Number(100 * e.Value);
    json.Key("error");
    json.Number(100 * e.Error);
    json.EndObject();
}

void FigureFields(JsonWriter& json, const Figures& f) {
    Percent(json, "iso", f.Iso);
    Percent(json, "cos", f.Cos);
    Percent(json, "returned", f.Returned);
    Percent(json, "windowed", f.Windowed);
    Percent(json, "lost", f.Lost);
    Percent(json, "outerReflection", f.Outer);
    Percent(json, "shadowed", f.Shadowed);
}

void PrintLine(const char* name, const Estimate& e) {
    std::printf("%-18s %6.2f %% +- %.2f\n", name, 100 * e.Value, 100 * e.Error);
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QByteArray PngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The picture the request asks for, as PNG or SVG bytes.
QByteArray PictureBytes(const ToolRequest& request, const TracedStone& stone, const Material& material,
                        const TraceOptions& options, const std::vector<TiltPoint>& along,
                        const std::vector<TiltPoint>& across, const std::string& caption) {
    const bool svg = QFileInfo(request.Output).suffix().compare("svg", Qt::CaseInsensitive) == 0;
    if (request.Optics.Picture == "tilt") {
        const std::string plot = TiltCurvesSvg(along, across, caption);
        if (svg) return QByteArray::fromStdString(plot);
        QSvgRenderer renderer(QByteArray::fromStdString(plot));
        QImage image(renderer.defaultSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        return PngOf(image);
    }
    PictureOptions picture{request.Optics.Size, request.Optics.CosLight ? Sky::Cos : Sky::Iso, 2};
    const Image pixels = request.Optics.Picture == "colour" ? ColourPicture(stone, material, options, picture)
                                                            : BrightnessPicture(stone, options, picture);
    const QImage image(pixels.Rgb.data(), pixels.Width, pixels.Height, 3 * pixels.Width,
                       QImage::Format_RGB888);
    const QByteArray png = PngOf(image);
    if (!svg) return png;
    return QByteArray::fromStdString(
        PictureSvg(std::string_view(png.constData(), png.size()), pixels.Width, pixels.Height, caption));
}
} // namespace

int RunOptics(const ToolRequest& request) {
    const OpticsRequest& o = request.Optics;
    Material material;
    if (o.Material.isEmpty()) {
        material = TypedMaterial(o.Index);
    } else if (const Material* known = FindMaterial(o.Material.toStdString())) {
        material = *known;
    } else {
        return UsageError("optics", QString("unknown material '%1'").arg(o.Material));
    }
    std::optional<TracedStone> stone;
    try {
        stone = LoadStone(request);
    } catch (const std::invalid_argument& error) {
        PrintError(QString("%1: %2").arg(request.Input.Path, error.what()));
        return ExitFileError;
    }
    if (!stone) return ExitFileError;

    TraceOptions options;
    options.RefractiveIndex = IndexD(material);
    options.HeadShadow = o.HeadShadow;
    options.EyeDistance = o.EyeDistance;
    const Sampling sampling{o.Rays, 1};
    const Sampling fewer{std::max(FewestCurveRays, o.Rays / CurveRayShare), 1};
    const Figures faceUp = ComputeFigures(*stone, options, sampling);
    const ColourFigures fire =
        ComputeFire(*stone, material, options, {std::max(FewestCurveRays, o.Rays / FireRayShare), 1});
    std::vector<TiltRange> ranges;
    if (o.Tilt)
        for (double axis : {AlongIndexZero, AcrossIndexZero})
            ranges.push_back(ComputeTiltRange(*stone, options, sampling, axis, *o.Tilt));
    std::vector<TiltPoint> along, across;
    if (o.TiltCurve || o.Picture == "tilt") {
        along = TiltCurve(*stone, options, fewer, AlongIndexZero);
        across = TiltCurve(*stone, options, fewer, AcrossIndexZero);
    }

    const std::string name = QFileInfo(request.Input.Path).fileName().toStdString();
    char caption[200];
    std::snprintf(caption, sizeof caption, "%s, %s n = %.4f: ISO %.1f%%, COS %.1f%%", name.c_str(),
                  material.Name.c_str(), options.RefractiveIndex, 100 * faceUp.Iso.Value,
                  100 * faceUp.Cos.Value);
    if (!request.Output.isEmpty() &&
        !WriteFile(request.Output,
                   PictureBytes(request, *stone, material, options, along, across, caption))) {
        PrintError(QString("cannot write file %1").arg(request.Output));
        return ExitFileError;
    }

    if (!o.Json) {
        std::printf("%s\n", caption);
        PrintLine("ISO", faceUp.Iso);
        PrintLine("COS", faceUp.Cos);
        PrintLine("returned", faceUp.Returned);
        PrintLine("windowed", faceUp.Windowed);
        PrintLine("lost", faceUp.Lost);
        PrintLine("outer reflection", faceUp.Outer);
        if (o.HeadShadow > 0) PrintLine("shadowed", faceUp.Shadowed);
        PrintLine("luminance", fire.Brightness);
        PrintLine("fire", fire.Fire);
        for (const TiltRange& r : ranges) {
            std::printf(
                "tilt about %g deg: ISO %.2f / %.2f / %.2f, COS %.2f / %.2f / %.2f at 0, %g, %g deg\n",
                r.Axis, 100 * r.AtZero.Iso.Value, 100 * r.AtHalf.Iso.Value, 100 * r.AtFull.Iso.Value,
                100 * r.AtZero.Cos.Value, 100 * r.AtHalf.Cos.Value, 100 * r.AtFull.Cos.Value, r.Tilt / 2,
                r.Tilt);
            PrintLine("  mean ISO", r.MeanIso);
            PrintLine("  mean COS", r.MeanCos);
        }
        for (const auto* curve : {&along, &across})
            for (const TiltPoint& p : *curve)
                std::printf("curve %s %+5.1f deg: ISO %.2f COS %.2f\n", curve == &along ? "along " : "across",
                            p.Angle, 100 * p.Iso.Value, 100 * p.Cos.Value);
        return ExitOk;
    }

    JsonWriter json;
    json.BeginObject();
    json.Key("file");
    json.Latin1String(name);
    json.Key("material");
    json.Latin1String(material.Name);
    json.Key("refractiveIndex");
    json.Number(options.RefractiveIndex);
    json.Key("headShadow");
    json.Number(o.HeadShadow);
    json.Key("eyeDistance");
    json.Number(o.EyeDistance);
    json.Key("rays");
    json.Integer(faceUp.Rays);
    FigureFields(json, faceUp);
    Percent(json, "luminance", fire.Brightness);
    Percent(json, "fire", fire.Fire);
    if (!ranges.empty()) {
        json.Key("tilt");
        json.BeginObject();
        json.Key("angle");
        json.Number(*o.Tilt);
        json.Key("axes");
        json.BeginArray();
        Estimate meanIso, meanCos;
        for (const TiltRange& r : ranges) {
            json.BeginObject();
            json.Key("azimuth");
            json.Number(r.Axis);
            for (const auto& [key, f] :
                 {std::pair{"atZero", &r.AtZero}, {"atHalf", &r.AtHalf}, {"atFull", &r.AtFull}}) {
                json.Key(key);
                json.BeginObject();
                Percent(json, "iso", f->Iso);
                Percent(json, "cos", f->Cos);
                json.EndObject();
            }
            Percent(json, "meanIso", r.MeanIso);
            Percent(json, "meanCos", r.MeanCos);
            json.EndObject();
            meanIso.Value += r.MeanIso.Value / ranges.size();
            meanCos.Value += r.MeanCos.Value / ranges.size();
            meanIso.Error += r.MeanIso.Error * r.MeanIso.Error / (ranges.size() * ranges.size());
            meanCos.Error += r.MeanCos.Error * r.MeanCos.Error / (ranges.size() * ranges.size());
        }
        json.EndArray();
        meanIso.Error = std::sqrt(meanIso.Error), meanCos.Error = std::sqrt(meanCos.Error);
        Percent(json, "meanIso", meanIso);
        Percent(json, "meanCos", meanCos);
        json.EndObject();
    }
    if (o.TiltCurve) {
        json.Key("tiltCurves");
        json.BeginArray();
        for (const auto& [axis, curve] : {std::pair{AlongIndexZero, &along}, {AcrossIndexZero, &across}}) {
            json.BeginObject();
            json.Key("azimuth");
            json.Number(axis);
            json.Key("points");
            json.BeginArray();
            for (const TiltPoint& p : *curve) {
                json.BeginObject();
                json.Key("angle");
                json.Number(p.Angle);
                Percent(json, "iso", p.Iso);
                Percent(json, "cos", p.Cos);
                json.EndObject();
            }
            json.EndArray();
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
    return PrintJson(json);
}
