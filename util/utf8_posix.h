#pragma once
// UTF-8 with the replacement rules of the Windows conversions (as Wine implements them), for the
// native build.
#include <cstddef>
#include <cstdint>
#include <string>

namespace utf8 {

// Decodes text[0, length), which ends in its zero terminator; undecodable bytes become U+FFFD.
// A sequence cut off by the end takes the rest of the input with it, terminator included.
std::u16string Decode(const std::uint8_t* text, std::size_t length);

// Encodes the units; an unpaired surrogate becomes U+FFFD.
std::string Encode(std::u16string_view units);

}  // namespace utf8
