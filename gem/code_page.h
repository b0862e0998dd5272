// The 8-bit code page of the design's text: Windows-1252, in which the format's files were written. It
// agrees with Latin-1 on every printable character Latin-1 has and adds the quotes, dashes, the euro
// sign and a few letters in 0x80 ... 0x9F, so every existing file reads the same.
#pragma once

#include <optional>
#include <string>

// The degree sign of the old DOS code page: the design reader turns this byte into DegreeByte.
inline constexpr unsigned char OldDegreeByte = 0xF8;
inline constexpr unsigned char DegreeByte = 0xBA; // masculine ordinal, shown as a degree sign

// The character a byte of the design's text stands for. The five bytes the code page leaves free stand
// for the control characters of the same number, so that every byte reads back as it was.
char32_t CodePageCharacter(unsigned char byte);
// The byte that holds the character; nothing when the code page has none for it.
std::optional<unsigned char> CodePageByte(char32_t character);
// The byte a design file keeps the character in, so that it reads back the same; nothing when the
// code page has none, or when its byte is the old degree sign that the reader converts.
std::optional<unsigned char> DesignTextByte(char32_t character);
// The text of a design's line, character by character.
std::u32string CodePageText(const std::string& bytes);
