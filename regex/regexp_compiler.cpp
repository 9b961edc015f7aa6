#include "regex/regexp_compiler.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string_view>
#include <vector>

#include "regex/regexp_case_fold.h"

namespace {

using Range = std::pair<char16_t, char16_t>;

struct PatternError {};  // thrown inside the compiler only

enum class NodeKind : std::uint8_t { Empty, Char, Any, Class, Assert, Group, Concat, Alternation, Repeat };

constexpr std::int32_t kUnbounded = -1;
// Repeat counts beyond the instruction bound cannot compile anyway; saturating keeps the parse cheap.
constexpr std::int64_t kCountCeiling = 1'000'000'000;

struct Node {
  NodeKind kind = NodeKind::Empty;
  char16_t ch = 0;
  RegExpOp assertion = RegExpOp::LineStart;
  std::int32_t index = 0;  // class index, or group number
  std::int32_t min = 0;
  std::int32_t max = 0;
  bool greedy = true;
  std::vector<std::int32_t> children;
};

// \s as VBScript documents it: [ \f\n\r\t\v].
constexpr Range kSpaceRanges[] = {{u'\t', u'\r'}, {u' ', u' '}};
constexpr Range kDigitRanges[] = {{u'0', u'9'}};
constexpr Range kWordRanges[] = {{u'0', u'9'}, {u'A', u'Z'}, {u'_', u'_'}, {u'a', u'z'}};

std::vector<Range> Normalize(std::vector<Range> ranges) {
  std::sort(ranges.begin(), ranges.end());
  std::vector<Range> merged;
  for (const Range& r : ranges) {
    if (!merged.empty() && static_cast<std::uint32_t>(r.first) <= static_cast<std::uint32_t>(merged.back().second) + 1) {
      merged.back().second = std::max(merged.back().second, r.second);
    } else {
      merged.push_back(r);
    }
  }
  return merged;
}

std::vector<Range> Complement(const std::vector<Range>& normalized) {
  std::vector<Range> out;
  std::uint32_t next = 0;
  for (const Range& r : normalized) {
    if (r.first > next) out.emplace_back(static_cast<char16_t>(next), static_cast<char16_t>(r.first - 1));
    next = static_cast<std::uint32_t>(r.second) + 1;
  }
  if (next <= 0xFFFF) out.emplace_back(static_cast<char16_t>(next), char16_t{0xFFFF});
  return out;
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool IsOctal(char16_t c) { return c >= u'0' && c <= u'7'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Capturing groups in the whole pattern, so that \N can be told apart from an octal escape.
std::int32_t CountGroups(std::u16string_view p) {
  std::int32_t count = 0;
  bool inClass = false;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char16_t c = p[i];
    if (c == u'\\') {
      ++i;
    } else if (inClass) {
      if (c == u']') inClass = false;
    } else if (c == u'[') {
      inClass = true;
    } else if (c == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
      ++count;
    }
  }
  return count;
}

class Parser {
 public:
  explicit Parser(std::u16string_view pattern) : p_(pattern), totalGroups_(CountGroups(pattern)) {}

  std::int32_t Parse() {
    const std::int32_t root = ParseDisjunction(0);
    if (pos_ != p_.size()) throw PatternError{};  // an unmatched ')'
    return root;
  }

  std::vector<Node> nodes;
  std::vector<RegExpCharClass> classes;
  std::int32_t groupCount = 0;

 private:
  bool AtEnd() const { return pos_ >= p_.size(); }
  char16_t Peek(std::size_t ahead = 0) const { return pos_ + ahead < p_.size() ? p_[pos_ + ahead] : char16_t{0}; }
  bool Has(std::size_t ahead) const { return pos_ + ahead < p_.size(); }

  std::int32_t Add(Node node) {
    nodes.push_back(std::move(node));
    return static_cast<std::int32_t>(nodes.size() - 1);
  }
  std::int32_t AddChar(char16_t c) {
    Node n;
    n.kind = NodeKind::Char;
    n.ch = c;
    return Add(std::move(n));
  }
  std::int32_t AddClass(std::vector<Range> ranges, bool negated) {
    RegExpCharClass cls;
    cls.ranges = Normalize(std::move(ranges));
    cls.negated = negated;
    classes.push_back(std::move(cls));
    Node n;
    n.kind = NodeKind::Class;
    n.index = static_cast<std::int32_t>(classes.size() - 1);
    return Add(std::move(n));
  }

  std::int32_t ParseDisjunction(std::int32_t depth) {
    if (depth > kRegExpMaxNesting) throw PatternError{};
    std::vector<std::int32_t> alternatives{ParseAlternative(depth)};
    while (!AtEnd() && Peek() == u'|') {
      ++pos_;
      alternatives.push_back(ParseAlternative(depth));
    }
    if (alternatives.size() == 1) return alternatives.front();
    Node n;
    n.kind = NodeKind::Alternation;
    n.children = std::move(alternatives);
    return Add(std::move(n));
  }

  std::int32_t ParseAlternative(std::int32_t depth) {
    Node n;
    n.kind = NodeKind::Concat;
    while (!AtEnd() && Peek() != u'|' && Peek() != u')') n.children.push_back(ParseTerm(depth));
    return Add(std::move(n));
  }

  std::int32_t Assertion(RegExpOp op) {
    Node n;
    n.kind = NodeKind::Assert;
    n.assertion = op;
    return Add(std::move(n));
  }

  std::int32_t ParseTerm(std::int32_t depth) {
    const char16_t c = Peek();
    if (c == u'^') {
      ++pos_;
      return Assertion(RegExpOp::LineStart);
    }
    if (c == u'$') {
      ++pos_;
      return Assertion(RegExpOp::LineEnd);
    }
    if (c == u'\\' && Has(1) && (Peek(1) == u'b' || Peek(1) == u'B')) {
      const bool boundary = Peek(1) == u'b';
      pos_ += 2;
      return Assertion(boundary ? RegExpOp::WordBoundary : RegExpOp::NotWordBoundary);
    }
    if (c == u'*' || c == u'+' || c == u'?') throw PatternError{};  // nothing to repeat
    if (c == u'{' && QuantifierBraceAt(pos_)) throw PatternError{};
    const std::int32_t atom = ParseAtom(depth);
    return ParseQuantifier(atom);
  }

  // Whether a '{' at i starts {n}, {n,} or {n,m}; elsewhere a brace is an ordinary character.
  bool QuantifierBraceAt(std::size_t i) const {
    std::size_t j = i + 1;
    const std::size_t digitsStart = j;
    while (j < p_.size() && IsDigit(p_[j])) ++j;
    if (j == digitsStart) return false;
    if (j < p_.size() && p_[j] == u',') {
      ++j;
      while (j < p_.size() && IsDigit(p_[j])) ++j;
    }
    return j < p_.size() && p_[j] == u'}';
  }

  std::int64_t ReadCount() {
    std::int64_t value = 0;
    while (!AtEnd() && IsDigit(Peek())) {
      value = std::min(kCountCeiling, value * 10 + (Peek() - u'0'));
      ++pos_;
    }
    return value;
  }

  std::int32_t ParseQuantifier(std::int32_t atom) {
    if (AtEnd()) return atom;
    std::int64_t min = 0;
    std::int64_t max = kUnbounded;
    const char16_t c = Peek();
    if (c == u'*') {
      ++pos_;
    } else if (c == u'+') {
      ++pos_;
      min = 1;
    } else if (c == u'?') {
      ++pos_;
      max = 1;
    } else if (c == u'{' && QuantifierBraceAt(pos_)) {
      ++pos_;
      min = ReadCount();
      max = min;
      if (Peek() == u',') {
        ++pos_;
        max = IsDigit(Peek()) ? ReadCount() : kUnbounded;
      }
      ++pos_;  // '}'
      if (max != kUnbounded && max < min) throw PatternError{};
    } else {
      return atom;
    }
    bool greedy = true;
    if (!AtEnd() && Peek() == u'?') {
      ++pos_;
      greedy = false;
    }
    if (!AtEnd() && (Peek() == u'*' || Peek() == u'+' || Peek() == u'?' || (Peek() == u'{' && QuantifierBraceAt(pos_)))) {
      throw PatternError{};  // a quantifier on a quantifier
    }
    Node n;
    n.kind = NodeKind::Repeat;
    n.min = static_cast<std::int32_t>(min);
    n.max = static_cast<std::int32_t>(max);
    n.greedy = greedy;
    n.children.push_back(atom);
    return Add(std::move(n));
  }

  std::int32_t ParseAtom(std::int32_t depth) {
    const char16_t c = Peek();
    switch (c) {
      case u'.': {
        ++pos_;
        Node n;
        n.kind = NodeKind::Any;
        return Add(std::move(n));
      }
      case u'(':
        return ParseGroup(depth);
      case u'[':
        return ParseClass();
      case u'\\':
        return ParseAtomEscape();
      default:
        ++pos_;
        return AddChar(c);
    }
  }

  std::int32_t ParseGroup(std::int32_t depth) {
    ++pos_;  // '('
    bool capturing = true;
    if (!AtEnd() && Peek() == u'?') {
      if (!Has(1) || Peek(1) != u':') throw PatternError{};  // lookahead and other (?...) forms
      pos_ += 2;
      capturing = false;
    }
    const std::int32_t number = capturing ? ++groupCount : 0;
    const std::int32_t body = ParseDisjunction(depth + 1);
    if (AtEnd() || Peek() != u')') throw PatternError{};
    ++pos_;
    if (!capturing) return body;
    Node n;
    n.kind = NodeKind::Group;
    n.index = number;
    n.children.push_back(body);
    return Add(std::move(n));
  }

  // \d \w \s and their complements; false when c names no class.
  static bool ClassEscape(char16_t c, std::vector<Range>& out) {
    std::vector<Range> set;
    switch (c) {
      case u'd':
      case u'D':
        set.assign(std::begin(kDigitRanges), std::end(kDigitRanges));
        break;
      case u'w':
      case u'W':
        set.assign(std::begin(kWordRanges), std::end(kWordRanges));
        break;
      case u's':
      case u'S':
        set.assign(std::begin(kSpaceRanges), std::end(kSpaceRanges));
        break;
      default:
        return false;
    }
    if (c == u'D' || c == u'W' || c == u'S') set = Complement(Normalize(std::move(set)));
    out.insert(out.end(), set.begin(), set.end());
    return true;
  }

  // Octal value of up to three digits (at most 0377) starting at pos_.
  char16_t ReadOctal() {
    std::uint32_t value = 0;
    for (int n = 0; n < 3 && !AtEnd() && IsOctal(Peek()); ++n) {
      const std::uint32_t next = value * 8 + (Peek() - u'0');
      if (next > 0377) break;
      value = next;
      ++pos_;
    }
    return static_cast<char16_t>(value);
  }

  // The character of a character escape after the backslash (pos_ at the escape letter).
  // inClass: \b is a backspace and \N is never a back-reference.
  char16_t ReadCharacterEscape(bool inClass) {
    const char16_t c = Peek();
    switch (c) {
      case u'n': ++pos_; return u'\n';
      case u'r': ++pos_; return u'\r';
      case u't': ++pos_; return u'\t';
      case u'f': ++pos_; return u'\f';
      case u'v': ++pos_; return u'\v';
      case u'b': ++pos_; return u'\b';
      case u'c': {
        const char16_t letter = Peek(1);
        if (Has(1) && ((letter >= u'a' && letter <= u'z') || (letter >= u'A' && letter <= u'Z'))) {
          pos_ += 2;
          return static_cast<char16_t>(letter % 32);
        }
        return u'\\';  // "\c" without a letter is a backslash; the c is read next
      }
      case u'x':
      case u'u': {
        const std::size_t digits = c == u'x' ? 2 : 4;
        std::uint32_t value = 0;
        for (std::size_t k = 1; k <= digits; ++k) {
          const int h = Has(k) ? HexValue(Peek(k)) : -1;
          if (h < 0) {
            ++pos_;
            return c;  // not a complete hex escape: the letter itself
          }
          value = value * 16 + static_cast<std::uint32_t>(h);
        }
        pos_ += digits + 1;
        return static_cast<char16_t>(value);
      }
      default:
        break;
    }
    if (IsDigit(c)) {
      if (c != u'0' && !inClass) {
        std::int64_t number = 0;
        for (std::size_t k = 0; Has(k) && IsDigit(Peek(k)) && number <= totalGroups_; ++k) {
          number = number * 10 + (Peek(k) - u'0');
        }
        // A back-reference cannot be matched in linear time; the engine refuses it.
        if (number >= 1 && number <= totalGroups_) throw PatternError{};
      }
      if (IsOctal(c)) return ReadOctal();
      ++pos_;
      return c;  // \8 and \9 that name no group
    }
    ++pos_;
    return c;  // identity escape
  }

  std::int32_t ParseAtomEscape() {
    ++pos_;  // '\'
    if (AtEnd()) throw PatternError{};
    std::vector<Range> set;
    if (ClassEscape(Peek(), set)) {
      ++pos_;
      return AddClass(std::move(set), false);
    }
    return AddChar(ReadCharacterEscape(false));
  }

  // One class atom: a character, or (for \d and friends) a set in `set`. Returns false for a set.
  bool ReadClassAtom(char16_t& ch, std::vector<Range>& set) {
    if (Peek() != u'\\') {
      ch = Peek();
      ++pos_;
      return true;
    }
    ++pos_;
    if (AtEnd()) throw PatternError{};
    if (ClassEscape(Peek(), set)) {
      ++pos_;
      return false;
    }
    ch = ReadCharacterEscape(true);
    return true;
  }

  std::int32_t ParseClass() {
    ++pos_;  // '['
    bool negated = false;
    if (!AtEnd() && Peek() == u'^') {
      negated = true;
      ++pos_;
    }
    std::vector<Range> ranges;
    while (true) {
      if (AtEnd()) throw PatternError{};
      if (Peek() == u']') {
        ++pos_;
        break;
      }
      char16_t low = 0;
      std::vector<Range> lowSet;
      const bool lowIsChar = ReadClassAtom(low, lowSet);
      if (!lowIsChar) {
        ranges.insert(ranges.end(), lowSet.begin(), lowSet.end());
        continue;
      }
      if (!AtEnd() && Peek() == u'-' && Has(1) && Peek(1) != u']') {
        ++pos_;
        char16_t high = 0;
        std::vector<Range> highSet;
        if (ReadClassAtom(high, highSet)) {
          if (high < low) throw PatternError{};
          ranges.emplace_back(low, high);
        } else {
          // [a-\d]: the dash is an ordinary character.
          ranges.emplace_back(low, low);
          ranges.emplace_back(u'-', u'-');
          ranges.insert(ranges.end(), highSet.begin(), highSet.end());
        }
        continue;
      }
      ranges.emplace_back(low, low);
    }
    return AddClass(std::move(ranges), negated);
  }

  std::u16string_view p_;
  std::size_t pos_ = 0;
  std::int32_t totalGroups_;
};

class Emitter {
 public:
  Emitter(const std::vector<Node>& nodes, RegExpProgram& program) : nodes_(nodes), program_(program) {}

  std::int32_t Add(RegExpInstruction inst) {
    if (program_.code.size() >= static_cast<std::size_t>(kRegExpMaxInstructions)) throw PatternError{};
    program_.code.push_back(inst);
    return static_cast<std::int32_t>(program_.code.size() - 1);
  }
  std::int32_t Here() const { return static_cast<std::int32_t>(program_.code.size()); }

  void Emit(std::int32_t index) {
    const Node& n = nodes_[static_cast<std::size_t>(index)];
    switch (n.kind) {
      case NodeKind::Empty:
        break;
      case NodeKind::Char:
        Add({RegExpOp::Char, program_.ignoreCase ? CaseFoldUpper(n.ch) : n.ch, 0, 0});
        break;
      case NodeKind::Any:
        Add({RegExpOp::Any, 0, 0, 0});
        break;
      case NodeKind::Class:
        Add({RegExpOp::Class, 0, n.index, 0});
        break;
      case NodeKind::Assert:
        Add({n.assertion, 0, 0, 0});
        break;
      case NodeKind::Group:
        Add({RegExpOp::Save, 0, 2 * n.index, 0});
        Emit(n.children.front());
        Add({RegExpOp::Save, 0, 2 * n.index + 1, 0});
        break;
      case NodeKind::Concat:
        for (const std::int32_t child : n.children) Emit(child);
        break;
      case NodeKind::Alternation:
        EmitAlternation(n);
        break;
      case NodeKind::Repeat:
        EmitRepeat(n);
        break;
    }
  }

 private:
  void SetSplit(std::int32_t at, std::int32_t preferred, std::int32_t other) {
    program_.code[static_cast<std::size_t>(at)].arg = preferred;
    program_.code[static_cast<std::size_t>(at)].arg2 = other;
  }

  void EmitAlternation(const Node& n) {
    std::vector<std::int32_t> jumps;
    for (std::size_t i = 0; i < n.children.size(); ++i) {
      if (i + 1 == n.children.size()) {
        Emit(n.children[i]);
        break;
      }
      const std::int32_t split = Add({RegExpOp::Split, 0, 0, 0});
      Emit(n.children[i]);
      jumps.push_back(Add({RegExpOp::Jump, 0, 0, 0}));
      SetSplit(split, split + 1, Here());
    }
    for (const std::int32_t jump : jumps) program_.code[static_cast<std::size_t>(jump)].arg = Here();
  }

  void EmitRepeat(const Node& n) {
    const std::int32_t child = n.children.front();
    const Node& atom = nodes_[static_cast<std::size_t>(child)];
    if (atom.kind == NodeKind::Assert) throw PatternError{};  // nothing to repeat
    for (std::int32_t i = 0; i < n.min; ++i) {
      const std::int32_t before = Here();
      Emit(child);
      if (Here() == before) return;  // an empty atom: every further copy is empty too
    }
    if (n.max == kUnbounded) {
      const std::int32_t loop = Add({RegExpOp::Split, 0, 0, 0});
      Emit(child);
      Add({RegExpOp::Jump, 0, loop, 0});
      n.greedy ? SetSplit(loop, loop + 1, Here()) : SetSplit(loop, Here(), loop + 1);
      return;
    }
    std::vector<std::int32_t> splits;
    for (std::int32_t i = n.min; i < n.max; ++i) {
      const std::int32_t split = Add({RegExpOp::Split, 0, 0, 0});
      splits.push_back(split);
      const std::int32_t before = Here();
      Emit(child);
      if (Here() == before) break;
    }
    const std::int32_t end = Here();
    for (const std::int32_t split : splits) n.greedy ? SetSplit(split, split + 1, end) : SetSplit(split, end, split + 1);
  }

  const std::vector<Node>& nodes_;
  RegExpProgram& program_;
};

}  // namespace

std::optional<RegExpProgram> CompileRegExp(std::u16string_view pattern, bool ignoreCase, bool multiline) {
  try {
    Parser parser(pattern);
    const std::int32_t root = parser.Parse();
    RegExpProgram program;
    program.ignoreCase = ignoreCase;
    program.multiline = multiline;
    program.groupCount = parser.groupCount;
    program.classes = std::move(parser.classes);
    Emitter emitter(parser.nodes, program);
    emitter.Add({RegExpOp::Save, 0, 0, 0});
    emitter.Emit(root);
    emitter.Add({RegExpOp::Save, 0, 1, 0});
    emitter.Add({RegExpOp::Match, 0, 0, 0});
    if (static_cast<std::int64_t>(program.code.size()) * program.SlotCount() > kRegExpMaxThreadState) return std::nullopt;
    return program;
  } catch (const PatternError&) {
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool IsRegExpLineBreak(char16_t c) noexcept { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

bool IsRegExpWordChar(char16_t c) noexcept {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

namespace {
bool ClassContains(const RegExpCharClass& cls, char16_t c) noexcept {
  const auto it = std::upper_bound(cls.ranges.begin(), cls.ranges.end(), c,
                                   [](char16_t v, const Range& r) { return v < r.first; });
  return it != cls.ranges.begin() && std::prev(it)->second >= c;
}
}  // namespace

bool RegExpClassAdmits(const RegExpCharClass& cls, char16_t c, bool ignoreCase) noexcept {
  bool in = ClassContains(cls, c);
  if (!in && ignoreCase) {
    const char16_t upper = CaseFoldUpper(c);
    in = ClassContains(cls, upper) || ClassContains(cls, CaseFoldLower(upper)) ||
         (upper == 0x03A3 && ClassContains(cls, char16_t{0x03C2}));
  }
  return in != cls.negated;
}
