// Feeds arbitrary text to the number readers and to the check of the "Define New Gem" fields. A real
// read is finite and within the engine's reach, is the value the C library reads from the same text,
// and reads back from its own full-precision text; a whole number reads back from its own text; and
// whatever the new-design check accepts makes a new design.
#include "fuzz/fuzz_checks.h"
#include "gem/new_design_input.h"
#include "gem/numread.h"
#include "gem/numtext.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
void CheckReal(const std::string& text) {
    const std::optional<Real> value = ReadReal(text);
    if (value.has_value() != (RealFaultOf(text) == RealFault::None))
        Finding("ReadReal and RealFaultOf differ", text);
    if (!value) return;
    if (!std::isfinite(*value) || std::fabs(*value) > EngineReach) Finding("a real beyond the reach", text);
    errno = 0;
    const Real library = std::strtold(text.c_str(), nullptr);
    if (library != *value) Finding("a real read differs from the C library's", text);
    char full[64];
    std::snprintf(full, sizeof full, "%.21Lg", *value);
    if (ReadReal(full) != *value) Finding("a real does not read back from its own text", text);
    if (ReadReal(fixed(*value, 0, 6)).has_value() == false) Finding("a real's fixed text is no real", text);
}

void CheckInteger(const std::string& text) {
    const std::optional<std::int32_t> value = ReadInteger(text);
    if (!value) return;
    if (ReadInteger(IntText(*value)) != *value) Finding("a whole number does not read back", text);
    if (ReadReal(IntText(*value)).has_value() && *ReadReal(IntText(*value)) != *value)
        Finding("a whole number reads as another real", text);
}

void CheckNewDesign(const std::string& text) {
    NewDesignInput input;
    const std::size_t a = text.find('\n'), b = a == std::string::npos ? a : text.find('\n', a + 1);
    input.SystemIndexText = text.substr(0, a);
    input.PartsText = a == std::string::npos ? "" : text.substr(a + 1, b - a - 1);
    input.OffsetText = b == std::string::npos ? "" : text.substr(b + 1);
    const NewDesignCheck check = CheckNewDesignInput(input);
    if (!check.Ok()) return;
    const long long teeth = std::llabs(check.SystemIndex);
    if (teeth < 3 || check.Parts < 1 || teeth % check.Parts != 0 || check.Offset < 0 || check.Offset > teeth)
        Finding("the new-design check let an impossible design through", text);
    static TGem gem;
    gem.NewDesign(check.Type, check.Parts, check.SystemIndex, check.Mirror, check.Offset, true);
    if (!CheckDesignNumbers(gem).empty()) Finding("a new design holds an impossible number", text);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool cLocale = std::setlocale(LC_NUMERIC, "C") != nullptr;
    (void)cLocale;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find('\0') != std::string::npos) return 0; // a C string ends there: no text of a field or file
    CheckReal(text);
    CheckInteger(text);
    CheckNewDesign(text);
    return 0;
}
