#pragma once
// The compiled form of a pattern for the built-in engine: instructions of a Thompson NFA, run by the
// Pike VM of regexp_vm.h in time proportional to subject length times program size.
#include <cstdint>
#include <utility>
#include <vector>

// Bounds that keep compilation and matching memory small whatever the pattern.
inline constexpr std::int32_t kRegExpMaxInstructions = 1 << 16;
// Instructions times capture slots: the VM keeps one capture set per instruction in each of two lists.
inline constexpr std::int64_t kRegExpMaxThreadState = std::int64_t{1} << 22;
inline constexpr std::int32_t kRegExpMaxNesting = 250;

enum class RegExpOp : std::uint8_t {
  Char,             // ch (already case-folded when the program ignores case)
  Any,              // every unit but a line break
  Class,            // arg: index into classes
  Split,            // try arg first, then arg2
  Jump,             // arg
  Save,             // capture slot arg := position
  LineStart,        // ^
  LineEnd,          // $
  WordBoundary,     // \b
  NotWordBoundary,  // \B
  Match,
};

struct RegExpInstruction {
  RegExpOp op = RegExpOp::Match;
  char16_t ch = 0;
  std::int32_t arg = 0;
  std::int32_t arg2 = 0;
};

// Sorted, non-overlapping inclusive ranges of UTF-16 units.
struct RegExpCharClass {
  std::vector<std::pair<char16_t, char16_t>> ranges;
  bool negated = false;
};

struct RegExpProgram {
  std::vector<RegExpInstruction> code;
  std::vector<RegExpCharClass> classes;
  std::int32_t groupCount = 0;  // capture groups, not counting the whole match
  bool ignoreCase = false;
  bool multiline = false;
  [[nodiscard]] std::int32_t SlotCount() const { return 2 * (groupCount + 1); }
};

bool IsRegExpLineBreak(char16_t c) noexcept;
bool IsRegExpWordChar(char16_t c) noexcept;
// Whether the class admits c, folding case as the program says.
bool RegExpClassAdmits(const RegExpCharClass& cls, char16_t c, bool ignoreCase) noexcept;
