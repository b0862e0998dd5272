#include "tests/platform/golden.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {
const QString ReferenceFolder = QStringLiteral(LAPIDRAW_GOLDEN_DIR);
const QString OutputFolder = QStringLiteral(LAPIDRAW_GOLDEN_OUT);
const QString LiberationFolder = QStringLiteral("/usr/share/fonts/truetype/liberation/");
const QColor DifferenceMark(255, 0, 0);

bool Updating() {
    const char* update = std::getenv("LAPIDRAW_UPDATE_GOLDEN");
    return update && std::string(update) == "1";
}

QString Reference(const std::string& file) {
    return ReferenceFolder + "/" + QString::fromStdString(file);
}

QString Output(const std::string& file) {
    QDir().mkpath(OutputFolder);
    return OutputFolder + "/" + QString::fromStdString(file);
}

GoldenResult Updated(const QString& path, bool written) {
    if (!written) return {false, "cannot write the reference " + path.toStdString()};
    return {true, "reference written: " + path.toStdString()};
}

// A failure with the message written to a string stream.
GoldenResult Differs(const std::ostream& message) {
    return {false, static_cast<const std::ostringstream&>(message).str()};
}

bool SameShade(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The reference faded to a light grey, with every differing pixel in red.
QImage Difference(const QImage& reference, const QImage& picture, int tolerance, long& differing) {
    QImage diff(reference.size(), QImage::Format_RGB32);
    differing = 0;
    for (int y = 0; y < reference.height(); ++y) {
        const QRgb* ref = reinterpret_cast<const QRgb*>(reference.constScanLine(y));
        const QRgb* now = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(diff.scanLine(y));
        for (int x = 0; x < reference.width(); ++x) {
            if (SameShade(ref[x], now[x], tolerance)) {
                const int faded = 192 + qGray(ref[x]) / 4;
                out[x] = qRgb(faded, faded, faded);
            } else {
                ++differing;
                out[x] = DifferenceMark.rgb();
            }
        }
    }
    return diff;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
} // namespace

GoldenResult CompareWithGoldenPicture(const QImage& picture, const std::string& name, int channelTolerance) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const QString referencePath = Reference(name + ".png");
    if (Updating()) return Updated(referencePath, image.save(referencePath));

    const QString newPath = Output(name + ".png");
    const QString diffPath = Output(name + ".diff.png");
    QFile::remove(newPath);
    QFile::remove(diffPath);
    QImage reference(referencePath);
    if (reference.isNull()) {
        image.save(newPath);
        return Differs(std::ostringstream()
                       << "no reference " << referencePath.toStdString()
                       << " (LAPIDRAW_UPDATE_GOLDEN=1 writes it); new picture: " << newPath.toStdString());
    }
    reference = reference.convertToFormat(QImage::Format_RGB32);
    if (reference.size() != image.size()) {
        image.save(newPath);
        return Differs(std::ostringstream()
                       << name << ": size " << image.width() << "x" << image.height() << ", reference "
                       << reference.width() << "x" << reference.height()
                       << "; new picture: " << newPath.toStdString());
    }
    long differing = 0;
    const QImage diff = Difference(reference, image, channelTolerance, differing);
    const double share = double(differing) / (double(image.width()) * image.height());
    if (share <= GoldenPixelShare) return {true, ""};
    image.save(newPath);
    diff.save(diffPath);
    return Differs(std::ostringstream()
                   << name << ": " << differing << " pixels (" << share * 100 << "%) differ from "
                   << referencePath.toStdString() << "; new picture: " << newPath.toStdString()
                   << "; difference: " << diffPath.toStdString());
}

GoldenResult CompareWithGoldenText(const std::string& text, const std::string& name) {
    const QString referencePath = Reference(name + ".txt");
    if (Updating()) {
        QFile file(referencePath);
        return Updated(referencePath,
                       file.open(QIODevice::WriteOnly) &&
                           file.write(text.data(), qint64(text.size())) == qint64(text.size()));
    }
    const QString newPath = Output(name + ".txt");
    const QString diffPath = Output(name + ".diff.txt");
    QFile::remove(newPath);
    QFile::remove(diffPath);
    QFile file(referencePath);
    if (!file.open(QIODevice::ReadOnly))
        return Differs(std::ostringstream() << "no reference " << referencePath.toStdString()
                                            << " (LAPIDRAW_UPDATE_GOLDEN=1 writes it)");
    const std::vector<std::string> expected = Lines(file.readAll().toStdString());
    const std::vector<std::string> actual = Lines(text);
    const std::size_t count = std::max(expected.size(), actual.size());
    std::string diff;
    int differing = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string* a = i < expected.size() ? &expected[i] : nullptr;
        const std::string* b = i < actual.size() ? &actual[i] : nullptr;
        if (a && b && *a == *b) continue;
        ++differing;
        diff += "line " + std::to_string(i + 1) + "\n";
        if (a) diff += "- " + *a + "\n";
        if (b) diff += "+ " + *b + "\n";
    }
    if (differing == 0) return {true, ""};
    QFile out(newPath), diffOut(diffPath);
    if (out.open(QIODevice::WriteOnly)) out.write(text.data(), qint64(text.size()));
    if (diffOut.open(QIODevice::WriteOnly)) diffOut.write(diff.data(), qint64(diff.size()));
    return Differs(std::ostringstream()
                   << name << ": " << differing << " of " << count << " lines ("
                   << 100.0 * differing / double(count) << "%) differ from " << referencePath.toStdString()
                   << "; new text: " << newPath.toStdString() << "; difference: " << diffPath.toStdString());
}

GoldenResult CompareLookInFixedFont(const QImage& picture, const std::string& name,
                                    const std::string& missingFont) {
    if (!missingFont.empty()) return {true, name + " is not compared: " + missingFont};
    return CompareWithGoldenPicture(picture, name, RasterChannelTolerance);
}

bool UseFixedSheetFont(std::string& reason) {
    for (const char* file : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"})
        if (QFontDatabase::addApplicationFont(LiberationFolder + file) < 0) {
            reason = "the Liberation Sans fonts are missing from " + LiberationFolder.toStdString();
            return false;
        }
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    const QString family = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    if (family != QStringLiteral("Liberation Sans")) {
        reason = "\"Arial\" is drawn in " + family.toStdString() + ", not in Liberation Sans";
        return false;
    }
    return true;
}
