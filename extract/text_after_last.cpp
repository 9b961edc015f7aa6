#include <cstddef>
#include <vector>

#include "extract/import.h"
#include "extract/cp936.h"

Text TextAfterLast(const Text& text, const Text& separator) {
  if (separator.empty() || separator.size() > text.size()) return {};
  const std::vector<bool> boundary = Cp936CharacterBoundaries(text);
  // A match must start and end on character boundaries: a trail byte that happens to equal the
  // separator ('\' is a common one) is part of its character, not a separator.
  for (std::size_t i = text.size() - separator.size() + 1; i-- > 0;) {
    if (!boundary[i] || !boundary[i + separator.size()]) continue;
    if (text.compare(i, separator.size(), separator) == 0) return text.substr(i + separator.size());
  }
  return {};
}
