#include "gem/numread.h"

#include <charconv>
#include <cmath>

static bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

static std::string TrimBlanks(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

static bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the shape [sign] digits [. digits] [e [sign] digits], with at least one mantissa digit.
static bool IsRealShape(const std::string& s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

// The value of a well-formed real, or why there is none.
static RealFault Parse(const std::string& text, Real& value) {
    std::string s = TrimBlanks(text);
    if (!IsRealShape(s)) return RealFault::NotANumber;
    if (s[0] == '+') s.erase(0, 1);
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    if (result.ec == std::errc::result_out_of_range) return RealFault::OutOfReach;
    if (result.ec != std::errc() || result.ptr != s.data() + s.size()) return RealFault::NotANumber;
    if (!std::isfinite(value) || std::fabs(value) > EngineReach) return RealFault::OutOfReach;
    return RealFault::None;
}

std::optional<Real> ReadReal(const std::string& text) {
    Real value = 0;
    if (Parse(text, value) != RealFault::None) return std::nullopt;
    return value;
}

RealFault RealFaultOf(const std::string& text) {
    Real value = 0;
    return Parse(text, value);
}

std::optional<std::int32_t> ReadInteger(const std::string& text) {
    std::string s = TrimBlanks(text);
    std::size_t start = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    if (start == s.size()) return std::nullopt;
    for (std::size_t i = start; i < s.size(); ++i)
        if (!IsDigit(s[i])) return std::nullopt;
    if (s[0] == '+') s.erase(0, 1);
    std::int32_t value = 0;
    auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    if (result.ec != std::errc() || result.ptr != s.data() + s.size()) return std::nullopt;
    return value;
}
