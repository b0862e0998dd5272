#include "gem/code_page.h"

#include <array>

namespace {
constexpr unsigned char FirstDiffering = 0x80; // below: ASCII; from 0xA0 on: Latin-1
constexpr unsigned char LatinAgain = 0xA0;

// The characters of the bytes 0x80 ... 0x9F; a free byte keeps its own number.
constexpr std::array<char32_t, LatinAgain - FirstDiffering> HighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

char32_t CodePageCharacter(unsigned char byte) {
    if (byte < FirstDiffering || byte >= LatinAgain) return byte;
    return HighControls[byte - FirstDiffering];
}

std::optional<unsigned char> CodePageByte(char32_t character) {
    if (character < FirstDiffering || (character >= LatinAgain && character <= 0xFF))
        return static_cast<unsigned char>(character);
    for (std::size_t k = 0; k < HighControls.size(); ++k)
        if (HighControls[k] == character) return static_cast<unsigned char>(FirstDiffering + k);
    return std::nullopt;
}

std::optional<unsigned char> DesignTextByte(char32_t character) {
    const std::optional<unsigned char> byte = CodePageByte(character);
    if (byte == OldDegreeByte) return std::nullopt;
    return byte;
}

std::u32string CodePageText(const std::string& bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    for (const char c : bytes)
        text.push_back(CodePageCharacter(static_cast<unsigned char>(c)));
    return text;
}
