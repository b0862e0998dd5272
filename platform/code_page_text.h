// The design's 8-bit text (Windows-1252) as Qt's text, for drawing and editing it.
#pragma once

#include "gem/code_page.h"

#include <QString>
#include <string>

inline QString FromCodePage(const std::string& bytes) {
    const std::u32string text = CodePageText(bytes);
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}
