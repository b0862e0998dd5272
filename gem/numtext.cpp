#include "gem/numtext.h"

#include <charconv>
#include <cmath>

Real RoundEven(Real v) {
    return std::nearbyint(v);
}

std::string PadLeft(const std::string& s, int w) {
    if (static_cast<int>(s.size()) >= w) return s;
    return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

static bool AllZeroDigits(const std::string& s) {
    for (char c : s)
        if (c >= '1' && c <= '9') return false;
    return true;
}

std::string fixed(Real v, int w, int d) {
    if (!std::isfinite(v)) return PadLeft(std::isnan(v) ? "NAN" : (v < 0 ? "-INF" : "INF"), w);
    char buffer[6000];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, d);
    std::string text(buffer, result.ptr);
    if (!text.empty() && text[0] == '-' && AllZeroDigits(text)) text.erase(0, 1);
    return PadLeft(text, w);
}

std::string ZeroPadded(Real v, int w, int d) {
    std::string text = fixed(v, w, d);
    for (int i = 0; i < w && i < static_cast<int>(text.size()); ++i)
        if (text[static_cast<std::size_t>(i)] == ' ') text[static_cast<std::size_t>(i)] = '0';
    return text;
}

std::string NumberText(Real v) {
    const Real hundredths = RoundEven(std::fabs(v) * 100);
    if (std::fmod(hundredths, 100) != 0) return Trim(fixed(v, 7, 2));
    return fixed(RoundEven(v), 5, 0);
}

std::string IntText(long long v) {
    return std::to_string(v);
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

std::string TrimRight(const std::string& s) {
    const auto last = s.find_last_not_of(' ');
    return last == std::string::npos ? "" : s.substr(0, last + 1);
}
