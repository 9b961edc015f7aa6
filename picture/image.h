#pragma once
// A decoded picture: 32-bit pixels, premultiplied alpha, in memory order B, G, R, A, rows top-down.
#include <cstdint>
#include <vector>

struct Image32 {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes

  [[nodiscard]] bool empty() const noexcept { return width <= 0 || height <= 0 || pixels.empty(); }
};

// Decoders refuse larger pictures rather than allocate for them: an icon never comes near this.
inline constexpr int kMaxImageSide = 4096;

// Turns straight (non-premultiplied) B, G, R, A pixels into premultiplied ones in place.
void PremultiplyBgra(std::vector<std::uint8_t>& pixels);

// The picture resampled to width x height (aspect not kept): bilinear when enlarging, averaging
// over the covered source pixels when shrinking. Empty for an empty picture or size.
Image32 ScaleImage(const Image32& source, int width, int height);
