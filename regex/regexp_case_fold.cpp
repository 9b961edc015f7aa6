#include "regex/regexp_case_fold.h"

#include <array>
#include <cstdint>

namespace {

// Lower-case letters first..last (every one, or every second one starting at first) map to c + delta.
struct CaseRange {
  char16_t first;
  char16_t last;
  std::int32_t delta;
  bool everySecond;
};

constexpr CaseRange kLowerToUpper[] = {
    {0x0061, 0x007A, -32, false},  // a-z
    {0x00E0, 0x00F6, -32, false},  // Latin-1 (the division sign 0xF7 lies between)
    {0x00F8, 0x00FE, -32, false},
    {0x00FF, 0x00FF, 0x0178 - 0x00FF, false},
    {0x0101, 0x012F, -1, true},  // Latin Extended-A pairs (0x130/0x131 stay: they would reach ASCII)
    {0x0133, 0x0137, -1, true},
    {0x013A, 0x0148, -1, true},
    {0x014B, 0x0177, -1, true},
    {0x017A, 0x017E, -1, true},
    {0x01CE, 0x01DC, -1, true},  // pinyin with caron and dieresis
    {0x01F9, 0x01F9, -1, false},
    {0x03AC, 0x03AC, 0x0386 - 0x03AC, false},  // Greek
    {0x03AD, 0x03AF, 0x0388 - 0x03AD, false},
    {0x03B1, 0x03C1, -32, false},
    {0x03C2, 0x03C2, 0x03A3 - 0x03C2, false},  // final sigma
    {0x03C3, 0x03CB, -32, false},
    {0x03CC, 0x03CC, 0x038C - 0x03CC, false},
    {0x03CD, 0x03CE, 0x038E - 0x03CD, false},
    {0x0430, 0x044F, -32, false},  // Cyrillic
    {0x0450, 0x045F, -80, false},
    {0x2170, 0x217F, -16, false},  // small Roman numerals
    {0x24D0, 0x24E9, -26, false},  // circled letters
    {0xFF41, 0xFF5A, -32, false},  // full-width Latin
};

struct CaseTables {
  std::array<char16_t, 0x10000> upper{};
  std::array<char16_t, 0x10000> lower{};
  CaseTables() {
    for (std::uint32_t c = 0; c < 0x10000; ++c) {
      upper[c] = static_cast<char16_t>(c);
      lower[c] = static_cast<char16_t>(c);
    }
    for (const CaseRange& r : kLowerToUpper) {
      for (std::uint32_t c = r.first; c <= r.last; c += r.everySecond ? 2 : 1) {
        const auto u = static_cast<char16_t>(static_cast<std::int32_t>(c) + r.delta);
        upper[c] = u;
        // Final sigma shares its capital with the ordinary sigma, whose lower case wins.
        if (c != 0x03C2) lower[u] = static_cast<char16_t>(c);
      }
    }
  }
};

const CaseTables& Tables() {
  static const CaseTables tables;
  return tables;
}

}  // namespace

char16_t CaseFoldUpper(char16_t c) noexcept { return Tables().upper[c]; }

char16_t CaseFoldLower(char16_t c) noexcept { return Tables().lower[c]; }
