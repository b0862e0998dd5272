// Hostile files for the three readers (design, ASC, outline): small valid files with one fault
// each, made from a base file whose lines are damaged one at a time.
#pragma once

#include <string>
#include <vector>

enum class FileFormat { Design, Asc, Outline };

// The kinds of damage, one per case.
enum class Fault {
    MissingField,    // the last field of a record left out
    ExtraField,      // one field too many
    LetterForNumber, // a letter where a number stands
    NotANumber,      // "nan" where a number stands
    Infinite,        // "inf"
    HugeExponent,    // "1e400"
    NegativeZero,    // "-0"
    HugeCount,       // a count far too large, or far too many records
    NegativeCount,   // a count below zero
    LongLine,        // a line of 1 MB
    NulByte,         // a NUL byte inside a record
    LoneCr,          // a CR without LF, as a line end or inside a record
    NoFinalLineEnd,  // the file ends right after a record, without a line end
    Truncated,       // the file ends inside a record
    AtLimit,         // a symmetry, index, count or distance at its limit
    BeyondLimit,     // ... and just beyond it
    Duplicate,       // a record twice
    Contradictory,   // records that disagree with each other
};

struct HostileFile {
    FileFormat Format;
    Fault Kind;
    std::string Record; // the record type damaged, such as "f" or "a"
    std::string Name;   // unique, readable: "lfx f nan field 2"
    std::string Bytes;
};

const char* FormatName(FileFormat format);
const char* FaultName(Fault fault);
inline constexpr int FaultCount = static_cast<int>(Fault::Contradictory) + 1;

// The undamaged base files, each a valid small design, ASC file or outline.
std::string BaseFile(FileFormat format);

// Every case, in a fixed order.
std::vector<HostileFile> HostileFiles();
