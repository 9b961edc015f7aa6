#pragma once
// Mappings of the Windows code page 936 table that glibc's GBK lacks.
#include <cstdint>
#include <span>

namespace cp936 {

// A run of double-byte codes [first, last] that the Windows table gives consecutive private-use
// characters, continuing from the previous run.
struct CodeRun {
  std::uint16_t first;
  std::uint16_t last;
};

// One-way best-fit replacement for a character the code page lacks.
struct BestFit {
  std::uint16_t unit;
  std::uint16_t code;
};

// Runs mapped from U+E766 onwards, in code order.
std::span<const CodeRun> ScatteredPrivateUseRuns();

// Best-fit replacements that WideCharToMultiByte applies with flags 0, sorted by unit.
std::span<const BestFit> BestFitReplacements();

}  // namespace cp936
