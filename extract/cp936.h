#pragma once
// Character structure of code page 936 text, for byte-wise searches that must not split a character.
#include <cstdint>
#include <vector>

#include "util/text.h"

// Lead bytes of the double-byte characters of code page 936.
constexpr bool IsCp936LeadByte(std::uint8_t b) noexcept { return b >= 0x81 && b <= 0xFE; }

// Trail bytes that may follow a lead byte.
constexpr bool IsCp936TrailByte(std::uint8_t b) noexcept { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// boundary[i] is true when a character starts at byte i; boundary[size] is true. A lead byte at the
// very end stands alone.
std::vector<bool> Cp936CharacterBoundaries(const Text& text);
