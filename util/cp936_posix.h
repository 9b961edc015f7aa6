#pragma once
// Code page 936 as Windows converts it: glibc's GBK table plus the Windows private-use and
// best-fit mappings, for the native build.
#include <cstdint>

namespace cp936 {

// Lead bytes of the double-byte codes.
constexpr bool IsLeadByte(std::uint8_t byte) { return byte >= 0x81 && byte <= 0xFE; }

// The character of a single byte that is no lead byte.
char16_t DecodeSingle(std::uint8_t byte);

// The character of lead byte + trail byte, or 0 when that code is not assigned.
char16_t DecodePair(std::uint8_t lead, std::uint8_t trail);

// The code for one UTF-16 unit (a byte, or lead << 8 | trail), or 0 when the code page lacks it.
std::uint16_t Encode(char16_t unit);

}  // namespace cp936
