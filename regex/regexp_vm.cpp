#include "regex/regexp_vm.h"

#include <algorithm>
#include <utility>

#include "regex/regexp_case_fold.h"

namespace {
// Beyond this many possible first instructions, testing each unit costs more than it saves.
constexpr std::size_t kMaxFirstPcs = 16;
}  // namespace

void RegExpVm::ThreadList::Init(std::size_t programSize, std::size_t slotCount) {
  mark_.assign(programSize, 0);
  generation_ = 1;
  pcs_.clear();
  pcs_.reserve(programSize);
  slotCount_ = slotCount;
  slots_.resize(programSize * slotCount);
}

void RegExpVm::ThreadList::Clear() {
  pcs_.clear();
  if (++generation_ == 0) {
    std::fill(mark_.begin(), mark_.end(), 0U);
    generation_ = 1;
  }
}

bool RegExpVm::ThreadList::Visit(std::int32_t pc) {
  std::uint32_t& m = mark_[static_cast<std::size_t>(pc)];
  if (m == generation_) return false;
  m = generation_;
  return true;
}

void RegExpVm::ThreadList::Push(std::int32_t pc, const std::int32_t* slots) {
  std::copy(slots, slots + slotCount_, slots_.begin() + static_cast<std::ptrdiff_t>(pcs_.size() * slotCount_));
  pcs_.push_back(pc);
}

RegExpVm::RegExpVm(const RegExpProgram& program)
    : program_(program), slotCount_(static_cast<std::size_t>(program.SlotCount())) {
  const std::size_t size = program.code.size();
  for (ThreadList& list : lists_) list.Init(size, slotCount_);
  scratch_.resize(slotCount_);
  stack_.reserve(2 * size + 2);

  // Which instructions can take the first unit; assertions are passed as if they held.
  std::vector<bool> seen(size, false);
  std::vector<std::int32_t> work{0};
  bool mayBeEmpty = false;
  while (!work.empty()) {
    const std::int32_t pc = work.back();
    work.pop_back();
    if (seen[static_cast<std::size_t>(pc)]) continue;
    seen[static_cast<std::size_t>(pc)] = true;
    const RegExpInstruction& inst = program.code[static_cast<std::size_t>(pc)];
    switch (inst.op) {
      case RegExpOp::Jump:
        work.push_back(inst.arg);
        break;
      case RegExpOp::Split:
        work.push_back(inst.arg);
        work.push_back(inst.arg2);
        break;
      case RegExpOp::Match:
        mayBeEmpty = true;
        break;
      case RegExpOp::Char:
      case RegExpOp::Any:
      case RegExpOp::Class:
        firstPcs_.push_back(pc);
        break;
      default:
        work.push_back(pc + 1);
        break;
    }
  }
  if (mayBeEmpty || firstPcs_.size() > kMaxFirstPcs) firstPcs_.clear();
}

bool RegExpVm::Accepts(const RegExpInstruction& inst, char16_t c) const {
  switch (inst.op) {
    case RegExpOp::Char:
      return (program_.ignoreCase ? CaseFoldUpper(c) : c) == inst.ch;
    case RegExpOp::Any:
      return !IsRegExpLineBreak(c);
    case RegExpOp::Class:
      return RegExpClassAdmits(program_.classes[static_cast<std::size_t>(inst.arg)], c, program_.ignoreCase);
    default:
      return false;
  }
}

bool RegExpVm::CanStartWith(char16_t c) const {
  return std::any_of(firstPcs_.begin(), firstPcs_.end(),
                     [&](std::int32_t pc) { return Accepts(program_.code[static_cast<std::size_t>(pc)], c); });
}

// Adds the threads reachable from pc without consuming input, in priority order; scratch_ holds the
// thread's slots and is restored on the way back, as a recursive walk would. The preferred branch is
// followed in place; only the other branch and slot restores go on the stack.
void RegExpVm::AddThread(ThreadList& list, std::int32_t pc0, std::int32_t pos) {
  const auto n = static_cast<std::int32_t>(subject_.size());
  std::uint64_t& budget = *budget_;
  stack_.clear();
  stack_.push_back({pc0, -1, 0});
  while (!stack_.empty()) {
    const Frame frame = stack_.back();
    stack_.pop_back();
    if (frame.restoreSlot >= 0) {
      scratch_[static_cast<std::size_t>(frame.restoreSlot)] = frame.value;
      continue;
    }
    std::int32_t pc = frame.pc;
    bool follow = true;
    while (follow) {
      if (budget == 0) {
        overBudget_ = true;
        return;
      }
      --budget;
      if (!list.Visit(pc)) break;
      const RegExpInstruction& inst = program_.code[static_cast<std::size_t>(pc)];
      switch (inst.op) {
        case RegExpOp::Jump:
          pc = inst.arg;
          break;
        case RegExpOp::Split:
          stack_.push_back({inst.arg2, -1, 0});
          pc = inst.arg;
          break;
        case RegExpOp::Save: {
          std::int32_t& slot = scratch_[static_cast<std::size_t>(inst.arg)];
          stack_.push_back({0, inst.arg, slot});
          slot = pos;
          ++pc;
          break;
        }
        case RegExpOp::LineStart:
          follow = pos == 0 || (program_.multiline && IsRegExpLineBreak(subject_[static_cast<std::size_t>(pos - 1)]));
          ++pc;
          break;
        case RegExpOp::LineEnd:
          follow = pos == n || (program_.multiline && IsRegExpLineBreak(subject_[static_cast<std::size_t>(pos)]));
          ++pc;
          break;
        case RegExpOp::WordBoundary:
        case RegExpOp::NotWordBoundary: {
          const bool before = pos > 0 && IsRegExpWordChar(subject_[static_cast<std::size_t>(pos - 1)]);
          const bool after = pos < n && IsRegExpWordChar(subject_[static_cast<std::size_t>(pos)]);
          follow = (before != after) == (inst.op == RegExpOp::WordBoundary);
          ++pc;
          break;
        }
        default:  // Char, Any, Class, Match wait for the next unit
          list.Push(pc, scratch_.data());
          follow = false;
          break;
      }
    }
  }
}

RegExpSearchResult RegExpVm::Search(std::u16string_view subject, std::int32_t start, std::vector<std::int32_t>& slots,
                                    std::uint64_t& budget) {
  subject_ = subject;
  budget_ = &budget;
  overBudget_ = false;
  const auto n = static_cast<std::int32_t>(subject.size());
  ThreadList* current = &lists_[0];
  ThreadList* next = &lists_[1];
  current->Clear();
  bool matched = false;
  std::int32_t pos = start;
  while (pos <= n) {
    if (!matched) {
      if (current->Size() == 0 && !firstPcs_.empty()) {
        while (pos < n && !CanStartWith(subject[static_cast<std::size_t>(pos)])) ++pos;
        if (pos == n) break;  // no match can start here, and none can be empty
      }
      std::fill(scratch_.begin(), scratch_.end(), -1);
      AddThread(*current, 0, pos);  // lowest priority: after the threads already running
      if (overBudget_) return RegExpSearchResult::OverBudget;
    }
    next->Clear();
    for (std::size_t i = 0; i < current->Size(); ++i) {
      const std::int32_t pc = current->Pc(i);
      const RegExpInstruction& inst = program_.code[static_cast<std::size_t>(pc)];
      if (inst.op == RegExpOp::Match) {
        matched = true;
        slots.assign(current->Slots(i), current->Slots(i) + slotCount_);
        break;  // threads after this one have lower priority
      }
      if (pos < n && Accepts(inst, subject[static_cast<std::size_t>(pos)])) {
        std::copy(current->Slots(i), current->Slots(i) + slotCount_, scratch_.begin());
        AddThread(*next, pc + 1, pos + 1);
        if (overBudget_) return RegExpSearchResult::OverBudget;
      }
    }
    std::swap(current, next);
    if (matched && current->Size() == 0) break;
    ++pos;
  }
  return matched ? RegExpSearchResult::Found : RegExpSearchResult::NotFound;
}
