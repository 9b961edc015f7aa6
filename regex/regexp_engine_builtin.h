#pragma once
// The built-in engine: JScript-dialect patterns compiled to a Pike VM program. Linear in the subject
// for each search; back-references and lookahead are refused as invalid patterns.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "regex/regexp_engine.h"
#include "regex/regexp_program.h"

class BuiltinRegExpEngine final : public RegExpEngine {
 public:
  bool Execute(const RegExpSettings& settings, std::u16string_view pattern, std::u16string_view subject) override;
  [[nodiscard]] std::u16string Pattern() const override { return pattern_; }
  [[nodiscard]] std::optional<std::u16string> Replace(std::u16string_view replacement) const override;
  [[nodiscard]] std::int32_t MatchCount() const override { return matchCount_; }
  [[nodiscard]] std::optional<RegExpMatch> Match(std::int32_t index) const override;
  [[nodiscard]] std::optional<std::u16string> SubMatch(std::int32_t index, std::int32_t group) const override;
  [[nodiscard]] std::int32_t SubMatchCount() const override { return matchCount_ > 0 ? groupCount_ : 0; }

 private:
  [[nodiscard]] const std::int32_t* SlotsOf(std::int32_t index) const;
  void AppendReplacement(std::u16string& out, std::u16string_view replacement, const std::int32_t* slots) const;

  std::u16string pattern_;
  std::u16string subject_;
  bool compiled_ = false;
  std::int32_t groupCount_ = 0;
  std::int32_t matchCount_ = 0;
  std::size_t slotCount_ = 0;
  std::vector<std::int32_t> slots_;  // slotCount_ per match
};
