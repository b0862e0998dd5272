// Validation of the "Define New Gem" inputs, shared by the dialog and the tests.
#pragma once

#include <cstdint>
#include <string>

enum class NewDesignField { None, SystemIndex, Parts, Offset };

struct NewDesignInput {
    std::string SystemIndexText = "96";
    std::string PartsText = "8";
    std::string OffsetText = "0";
    bool Mirror = true;
    bool Pavilion = false;
};

// Either valid parameters (Field == None) or the message and the field at fault.
struct NewDesignCheck {
    NewDesignField Field = NewDesignField::None;
    std::string Message;
    std::int32_t SystemIndex = 0;
    std::int32_t Parts = 0;
    std::int32_t Offset = 0;
    bool Mirror = false;
    char Type = 'c';

    bool Ok() const { return Field == NewDesignField::None; }
};

// Checks the inputs in the dialog's order; the first failure wins.
NewDesignCheck CheckNewDesignInput(const NewDesignInput& input);
