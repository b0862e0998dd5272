#include "gem/new_design_input.h"
#include "gem/numread.h"

#include <cstdlib>
#include <limits>

namespace {
constexpr std::int32_t SmallestSystemIndex = 3;

NewDesignCheck Failure(NewDesignField field, const char* message) {
    NewDesignCheck check;
    check.Field = field;
    check.Message = message;
    return check;
}
} // namespace

NewDesignCheck CheckNewDesignInput(const NewDesignInput& input) {
    const auto systemIndex = ReadInteger(input.SystemIndexText);
    // -2^31 has no 32-bit magnitude: no gear of the model can have it.
    if (!systemIndex || *systemIndex == std::numeric_limits<std::int32_t>::min())
        return Failure(NewDesignField::SystemIndex, "Error in system index");
    if (*systemIndex == 0) return Failure(NewDesignField::SystemIndex, "system index must not be zero");
    const std::int64_t teeth = std::llabs(*systemIndex);
    if (teeth < SmallestSystemIndex) return Failure(NewDesignField::SystemIndex, "system index is too small");

    const auto parts = ReadInteger(input.PartsText);
    if (!parts) return Failure(NewDesignField::Parts, "Error in number of parts");
    if (*parts <= 0) return Failure(NewDesignField::Parts, "Number of parts must be positive");

    const auto offsetRead = ReadInteger(input.OffsetText);
    if (!offsetRead) return Failure(NewDesignField::Offset, "Error in offset index");
    std::int64_t offset = *offsetRead;
    if (offset < 0) offset += teeth * ((-offset + teeth - 1) / teeth); // add whole turns until >= 0
    if (offset > teeth) offset -= teeth * ((offset - 1) / teeth);      // subtract until <= teeth

    if (teeth % *parts != 0)
        return Failure(NewDesignField::Parts, "system index must be a multiple of parts");

    NewDesignCheck check;
    check.SystemIndex = *systemIndex;
    check.Parts = *parts;
    check.Offset = static_cast<std::int32_t>(offset);
    check.Mirror = input.Mirror;
    check.Type = input.Pavilion ? 'p' : 'c';
    return check;
}
