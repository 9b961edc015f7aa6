#include "util/cp936_posix.h"

#include <iconv.h>

#include <array>
#include <memory>

#include "util/cp936_extra_posix.h"

namespace cp936 {
namespace {

constexpr char16_t kPrivateUseScattered = 0xE766;

struct Tables {
  std::array<char16_t, 0x10000> toUnicode{};  // by lead << 8 | trail
  std::array<std::uint16_t, 0x10000> fromUnicode{};
};

// glibc's GBK for everything it knows; iconv is only consulted while the tables are built.
void FillFromIconv(Tables& t) {
  const iconv_t cd = ::iconv_open("UTF-16LE", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) return;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char out[8] = {};
      char* inPtr = in;
      char* outPtr = out;
      std::size_t inLeft = sizeof in;
      std::size_t outLeft = sizeof out;
      ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) continue;
      if (outPtr - out != 2) continue;
      const auto unit = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                              (static_cast<unsigned char>(out[1]) << 8));
      t.toUnicode[lead << 8 | trail] = unit;
    }
  }
  ::iconv_close(cd);
}

// The user-defined areas, which the Windows table maps to private-use characters in blocks.
void FillPrivateUse(Tables& t) {
  char16_t next = 0xE000;
  const auto block = [&](unsigned firstLead, unsigned lastLead, unsigned firstTrail, unsigned lastTrail) {
    for (unsigned lead = firstLead; lead <= lastLead; ++lead) {
      for (unsigned trail = firstTrail; trail <= lastTrail; ++trail) {
        if (trail == 0x7F) continue;
        t.toUnicode[lead << 8 | trail] = next++;
      }
    }
  };
  block(0xAA, 0xAF, 0xA1, 0xFE);  // U+E000..
  block(0xF8, 0xFE, 0xA1, 0xFE);  // U+E234..
  block(0xA1, 0xA7, 0x40, 0xA0);  // U+E4C6..
  char16_t scattered = kPrivateUseScattered;
  for (const CodeRun& run : ScatteredPrivateUseRuns()) {
    for (unsigned code = run.first; code <= run.last; ++code) t.toUnicode[code] = scattered++;
  }
}

std::unique_ptr<Tables> BuildTables() {
  auto t = std::make_unique<Tables>();
  FillFromIconv(*t);
  FillPrivateUse(*t);
  for (unsigned code = 0x8100; code <= 0xFEFF; ++code) {
    if (const char16_t unit = t->toUnicode[code]) t->fromUnicode[unit] = static_cast<std::uint16_t>(code);
  }
  for (unsigned byte = 1; byte < 0x100; ++byte) {
    if (IsLeadByte(static_cast<std::uint8_t>(byte))) continue;
    t->fromUnicode[DecodeSingle(static_cast<std::uint8_t>(byte))] = static_cast<std::uint16_t>(byte);
  }
  for (const BestFit& fit : BestFitReplacements()) {
    if (t->fromUnicode[fit.unit] == 0) t->fromUnicode[fit.unit] = fit.code;
  }
  return t;
}

const Tables& GetTables() {
  static const std::unique_ptr<Tables> tables = BuildTables();
  return *tables;
}

}  // namespace

char16_t DecodeSingle(std::uint8_t byte) {
  if (byte == 0x80) return 0x20AC;
  if (byte == 0xFF) return 0xF8F5;
  return byte;
}

char16_t DecodePair(std::uint8_t lead, std::uint8_t trail) { return GetTables().toUnicode[lead << 8 | trail]; }

std::uint16_t Encode(char16_t unit) {
  if (unit < 0x80) return unit;
  return GetTables().fromUnicode[unit];
}

}  // namespace cp936
