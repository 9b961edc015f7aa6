#include "regex/regexp_engine_builtin.h"

#include <limits>
#include <new>

#include "regex/regexp_compiler.h"
#include "regex/regexp_vm.h"

namespace {
// Steps allowed for one Execute, per subject unit and instruction. A single search needs at most
// one step per unit and instruction; the slack covers global runs whose searches look past their
// match end. Past it the run fails instead of going quadratic.
constexpr std::uint64_t kStepsPerUnitAndInstruction = 16;
constexpr std::uint64_t kMinimumSteps = std::uint64_t{1} << 25;
}  // namespace

std::unique_ptr<RegExpEngine> CreateBuiltinRegExpEngine() { return std::make_unique<BuiltinRegExpEngine>(); }

bool BuiltinRegExpEngine::Execute(const RegExpSettings& settings, std::u16string_view pattern,
                                  std::u16string_view subject) {
  compiled_ = false;
  matchCount_ = 0;
  groupCount_ = 0;
  slots_.clear();
  try {
    pattern_.assign(pattern);
    subject_.assign(subject);
    if (subject.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return false;
    const std::optional<RegExpProgram> program = CompileRegExp(pattern, settings.ignoreCase, settings.multiline);
    if (!program) return false;
    groupCount_ = program->groupCount;
    slotCount_ = static_cast<std::size_t>(program->SlotCount());

    RegExpVm vm(*program);
    std::uint64_t budget =
        kStepsPerUnitAndInstruction * (subject.size() + 1) * program->code.size() + kMinimumSteps;
    const auto n = static_cast<std::int32_t>(subject.size());
    std::vector<std::int32_t> found;
    std::int32_t pos = 0;
    while (pos <= n) {
      const RegExpSearchResult result = vm.Search(subject, pos, found, budget);
      if (result == RegExpSearchResult::OverBudget) {
        matchCount_ = 0;
        slots_.clear();
        return false;
      }
      if (result == RegExpSearchResult::NotFound) break;
      slots_.insert(slots_.end(), found.begin(), found.end());
      ++matchCount_;
      if (!settings.global || matchCount_ == std::numeric_limits<std::int32_t>::max()) break;
      // The next search resumes at the end of this match, one further after an empty match.
      pos = found[1] == found[0] ? found[1] + 1 : found[1];
    }
    compiled_ = true;
    return true;
  } catch (const std::bad_alloc&) {
    matchCount_ = 0;
    slots_.clear();
    return false;
  }
}

const std::int32_t* BuiltinRegExpEngine::SlotsOf(std::int32_t index) const {
  if (index < 0 || index >= matchCount_) return nullptr;
  return slots_.data() + static_cast<std::size_t>(index) * slotCount_;
}

std::optional<RegExpMatch> BuiltinRegExpEngine::Match(std::int32_t index) const {
  const std::int32_t* slots = SlotsOf(index);
  if (!slots) return std::nullopt;
  return RegExpMatch{subject_.substr(static_cast<std::size_t>(slots[0]), static_cast<std::size_t>(slots[1] - slots[0])),
                     slots[0]};
}

std::optional<std::u16string> BuiltinRegExpEngine::SubMatch(std::int32_t index, std::int32_t group) const {
  const std::int32_t* slots = SlotsOf(index);
  if (!slots || group < 0 || group >= groupCount_) return std::nullopt;
  const std::int32_t begin = slots[2 * (group + 1)];
  const std::int32_t end = slots[2 * (group + 1) + 1];
  if (begin < 0 || end < begin) return std::u16string();
  return subject_.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

// JScript's substitutions: $$, $&, $` (before the match), $' (after it), $n and $nn (groups).
void BuiltinRegExpEngine::AppendReplacement(std::u16string& out, std::u16string_view replacement,
                                            const std::int32_t* slots) const {
  const std::u16string_view subject(subject_);
  const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 == replacement.size()) {
      out.push_back(c);
      continue;
    }
    const char16_t d = replacement[i + 1];
    if (d == u'$') {
      out.push_back(u'$');
      ++i;
    } else if (d == u'&') {
      out.append(subject.substr(static_cast<std::size_t>(slots[0]), static_cast<std::size_t>(slots[1] - slots[0])));
      ++i;
    } else if (d == u'`') {
      out.append(subject.substr(0, static_cast<std::size_t>(slots[0])));
      ++i;
    } else if (d == u'\'') {
      out.append(subject.substr(static_cast<std::size_t>(slots[1])));
      ++i;
    } else if (isDigit(d)) {
      std::int32_t group = d - u'0';
      std::size_t used = 1;
      if (i + 2 < replacement.size() && isDigit(replacement[i + 2])) {
        const std::int32_t two = group * 10 + (replacement[i + 2] - u'0');
        if (two >= 1 && two <= groupCount_) {
          group = two;
          used = 2;
        }
      }
      if (group < 1 || group > groupCount_) {
        out.push_back(c);
        continue;
      }
      const std::int32_t begin = slots[2 * group];
      const std::int32_t end = slots[2 * group + 1];
      if (begin >= 0 && end >= begin) {
        out.append(subject.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
      }
      i += used;
    } else {
      out.push_back(c);
    }
  }
}

std::optional<std::u16string> BuiltinRegExpEngine::Replace(std::u16string_view replacement) const {
  if (!compiled_) return std::nullopt;
  std::u16string out;
  std::size_t copied = 0;
  for (std::int32_t m = 0; m < matchCount_; ++m) {
    const std::int32_t* slots = SlotsOf(m);
    out.append(subject_, copied, static_cast<std::size_t>(slots[0]) - copied);
    AppendReplacement(out, replacement, slots);
    copied = static_cast<std::size_t>(slots[1]);
  }
  out.append(subject_, copied, std::u16string::npos);
  return out;
}
