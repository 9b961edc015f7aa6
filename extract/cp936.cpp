#include "extract/cp936.h"

#include <cstddef>

std::vector<bool> Cp936CharacterBoundaries(const Text& text) {
  std::vector<bool> boundary(text.size() + 1, false);
  std::size_t i = 0;
  while (i < text.size()) {
    boundary[i] = true;
    const bool pair = IsCp936LeadByte(static_cast<std::uint8_t>(text[i])) && i + 1 < text.size();
    i += pair ? 2 : 1;
  }
  boundary[text.size()] = true;
  return boundary;
}
