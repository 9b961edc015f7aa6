#pragma once
// Raw DEFLATE decoding (ZIP method 8) into a buffer of known size.
#include <cstdint>
#include <functional>
#include <span>

namespace apk {

// Pulls the next piece of compressed input; returns an empty span at the end of the input.
using InputPump = std::function<std::span<const std::uint8_t>()>;

// Fills out exactly with the decoded stream; raises ApkError when the stream is corrupt,
// ends early or would produce more than out.size() bytes.
void InflateRaw(const InputPump& pump, std::span<std::uint8_t> out);

// CRC-32 as ZIP uses it.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

}  // namespace apk
