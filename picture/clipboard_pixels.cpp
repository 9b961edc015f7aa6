#include "picture/clipboard_pixels.h"

#include <cstddef>

Image32 OverWhite(const Image32& image) {
  Image32 result = image;
  for (std::size_t i = 0; i + 3 < result.pixels.size(); i += 4) {
    const int uncovered = 255 - result.pixels[i + 3];
    for (std::size_t c = 0; c < 3; ++c) {
      // Premultiplied colour plus white where the picture does not cover; a channel above its
      // alpha (malformed input) is clamped rather than wrapped.
      const int value = result.pixels[i + c] + uncovered;
      result.pixels[i + c] = static_cast<std::uint8_t>(value > 255 ? 255 : value);
    }
    result.pixels[i + 3] = 255;
  }
  return result;
}
