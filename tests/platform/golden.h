// Golden pictures: a drawing compared with its reference file in tests/data/golden. On a difference
// the new picture and a difference image are written to the build tree and the share of differing
// pixels is reported; LAPIDRAW_UPDATE_GOLDEN=1 writes the references instead.
#pragma once

#include <QImage>

#include <string>

// A pixel differs when one of its channels differs by more than the tolerance. Pictures drawn without
// fonts come out the same to the last bit; the edges of texts in a font may shift a shade.
inline constexpr int RecordChannelTolerance = 0;
inline constexpr int RasterChannelTolerance = 64;
// A picture fails when more than this share of its pixels differ: 15 pixels of a 640 x 480 sheet,
// where the edges of one facet cover some fifty or more.
inline constexpr double GoldenPixelShare = 0.00005;

// What a comparison found: a match, or what differs and where the new picture and its difference went.
struct GoldenResult {
    bool Matches = false;
    std::string Message;
};

// Compares the picture with <name>.png.
GoldenResult CompareWithGoldenPicture(const QImage& picture, const std::string& name, int channelTolerance);
// Compares the text with <name>.txt line by line; no line may differ.
GoldenResult CompareWithGoldenText(const std::string& text, const std::string& name);

// A picture drawn in the fixed font, compared as CompareWithGoldenPicture with the raster tolerance. When
// the font was missing (missingFont says why, else it is empty) nothing is compared: it matches, and the
// message says why.
GoldenResult CompareLookInFixedFont(const QImage& picture, const std::string& name,
                                    const std::string& missingFont);

// Makes "Arial" mean the Liberation Sans fonts of the system, so that texts look alike on every
// machine that has them; false (with the reason) when the fonts are missing.
bool UseFixedSheetFont(std::string& reason);
