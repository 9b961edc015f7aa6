#pragma once
// Pike VM over a compiled program: a Thompson NFA simulation whose threads keep backtracking
// priority, so it finds the match a backtracking engine would (leftmost, then first by pattern
// order) in time O(subject length x program size) per search, without recursion.
#include <cstdint>
#include <string_view>
#include <vector>

#include "regex/regexp_program.h"

enum class RegExpSearchResult { Found, NotFound, OverBudget };

class RegExpVm {
 public:
  explicit RegExpVm(const RegExpProgram& program);

  // The first match that starts at or after `start`. slots receives 2 positions per group, the whole
  // match first; -1 for a group that took no part. Every step taken is subtracted from `budget`;
  // the search gives OverBudget when it runs out.
  RegExpSearchResult Search(std::u16string_view subject, std::int32_t start, std::vector<std::int32_t>& slots,
                            std::uint64_t& budget);

 private:
  class ThreadList {
   public:
    void Init(std::size_t programSize, std::size_t slotCount);
    void Clear();
    bool Visit(std::int32_t pc);
    void Push(std::int32_t pc, const std::int32_t* slots);
    [[nodiscard]] std::size_t Size() const { return pcs_.size(); }
    [[nodiscard]] std::int32_t Pc(std::size_t i) const { return pcs_[i]; }
    [[nodiscard]] const std::int32_t* Slots(std::size_t i) const { return slots_.data() + i * slotCount_; }

   private:
    std::vector<std::uint32_t> mark_;
    std::uint32_t generation_ = 1;
    std::vector<std::int32_t> pcs_;
    std::vector<std::int32_t> slots_;
    std::size_t slotCount_ = 0;
  };

  struct Frame {
    std::int32_t pc;
    std::int32_t restoreSlot;  // >= 0: put `value` back into this slot instead of visiting pc
    std::int32_t value;
  };

  void AddThread(ThreadList& list, std::int32_t pc, std::int32_t pos);
  [[nodiscard]] bool Accepts(const RegExpInstruction& inst, char16_t c) const;
  [[nodiscard]] bool CanStartWith(char16_t c) const;

  const RegExpProgram& program_;
  std::size_t slotCount_;
  std::u16string_view subject_;
  std::uint64_t* budget_ = nullptr;
  bool overBudget_ = false;
  ThreadList lists_[2];
  std::vector<std::int32_t> scratch_;
  std::vector<Frame> stack_;
  // Instructions that can consume the first unit of a match; empty when a match may be empty.
  std::vector<std::int32_t> firstPcs_;
};
