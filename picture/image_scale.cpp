#include <algorithm>
#include <cmath>
#include <cstddef>

#include "picture/image.h"

namespace {

struct Tap {
  int index;
  float weight;
};

// For each destination position along one axis, the source positions it reads and their weights.
// A tent filter whose radius is one source pixel when enlarging (bilinear) and one destination
// pixel's footprint when shrinking, so every source pixel contributes.
std::vector<std::vector<Tap>> AxisTaps(int sourceSize, int destSize) {
  std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(destSize));
  const double scale = static_cast<double>(sourceSize) / destSize;
  const double radius = std::max(1.0, scale);
  for (int i = 0; i < destSize; ++i) {
    const double center = (i + 0.5) * scale - 0.5;
    const int first = std::max(0, static_cast<int>(std::floor(center - radius)) + 1);
    const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(center + radius)) - 1);
    auto& row = taps[static_cast<std::size_t>(i)];
    double sum = 0;
    for (int j = first; j <= last; ++j) {
      const double w = 1.0 - std::abs(j - center) / radius;
      if (w > 0) {
        row.push_back({j, static_cast<float>(w)});
        sum += w;
      }
    }
    if (row.empty()) {  // only at the very edge of a tiny source
      row.push_back({std::clamp(static_cast<int>(std::lround(center)), 0, sourceSize - 1), 1.0f});
      sum = 1.0;
    }
    for (auto& t : row) t.weight = static_cast<float>(t.weight / sum);
  }
  return taps;
}

}  // namespace

void PremultiplyBgra(std::vector<std::uint8_t>& pixels) {
  for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
    const unsigned a = pixels[i + 3];
    for (std::size_t c = 0; c < 3; ++c) {
      pixels[i + c] = static_cast<std::uint8_t>((pixels[i + c] * a + 127) / 255);
    }
  }
}

Image32 ScaleImage(const Image32& source, int width, int height) {
  Image32 out;
  if (source.empty() || width <= 0 || height <= 0 || width > 16384 || height > 16384) return out;
  if (source.pixels.size() < static_cast<std::size_t>(source.width) * source.height * 4) return out;

  const auto xTaps = AxisTaps(source.width, width);
  const auto yTaps = AxisTaps(source.height, height);

  // Horizontal pass: source rows at destination width, kept in floats.
  const std::size_t midStride = static_cast<std::size_t>(width) * 4;
  std::vector<float> mid(midStride * source.height);
  for (int y = 0; y < source.height; ++y) {
    const std::uint8_t* srcRow = source.pixels.data() + static_cast<std::size_t>(y) * source.width * 4;
    float* midRow = mid.data() + static_cast<std::size_t>(y) * midStride;
    for (int x = 0; x < width; ++x) {
      float acc[4] = {0, 0, 0, 0};
      for (const Tap& t : xTaps[static_cast<std::size_t>(x)]) {
        const std::uint8_t* p = srcRow + static_cast<std::size_t>(t.index) * 4;
        for (int c = 0; c < 4; ++c) acc[c] += t.weight * p[c];
      }
      std::copy(acc, acc + 4, midRow + static_cast<std::size_t>(x) * 4);
    }
  }

  // Vertical pass into the result, rounded; colour never exceeds alpha in premultiplied pixels.
  out.width = width;
  out.height = height;
  out.pixels.resize(midStride * height);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* dstRow = out.pixels.data() + static_cast<std::size_t>(y) * midStride;
    for (std::size_t i = 0; i < midStride; i += 4) {
      float acc[4] = {0, 0, 0, 0};
      for (const Tap& t : yTaps[static_cast<std::size_t>(y)]) {
        const float* p = mid.data() + static_cast<std::size_t>(t.index) * midStride + i;
        for (int c = 0; c < 4; ++c) acc[c] += t.weight * p[c];
      }
      const auto alpha = static_cast<std::uint8_t>(std::clamp(std::lround(acc[3]), 0L, 255L));
      for (int c = 0; c < 3; ++c) {
        dstRow[i + c] = static_cast<std::uint8_t>(std::clamp(std::lround(acc[c]), 0L, static_cast<long>(alpha)));
      }
      dstRow[i + 3] = alpha;
    }
  }
  return out;
}
