#pragma once
// The program's regular-expression facility: compile a pattern, run it over a subject, read the
// matches by 1-based index. Every failure yields an empty result (false, 0 or empty text).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "util/text.h"

class RegExpEngine;         // one engine behind the wrapper (the system's VBScript.RegExp, or the built-in one)
class RegExpPlatformScope;  // COM on the thread, where there is COM

enum class RegExpEngineKind {
  Automatic,  // the system's VBScript.RegExp where it can be created, else the built-in engine
  System,     // VBScript.RegExp only (Windows); when it cannot be created every search fails
  BuiltIn,    // the built-in engine only
};

class RegExpWrapper {
 public:
  // Initialises COM on the calling thread once (Windows); the destructor uninitialises it once,
  // after releasing the engine.
  explicit RegExpWrapper(RegExpEngineKind kind = RegExpEngineKind::Automatic);
  ~RegExpWrapper();
  RegExpWrapper(const RegExpWrapper&) = delete;
  RegExpWrapper& operator=(const RegExpWrapper&) = delete;

  // Defaults: caseSensitive false, multiline true, global true, quotePlaceholder false ("#引号" in
  // the pattern stands for a double quote). True when the run produced a match collection (false for
  // an invalid pattern). Replaces everything the previous Search left.
  bool Search(const Text& pattern, const Text& subject, std::optional<bool> caseSensitive = {},
              std::optional<bool> multiline = {}, std::optional<bool> global = {},
              std::optional<bool> quotePlaceholder = {});
  // The pattern of the last Search; empty before any.
  [[nodiscard]] Text GetPattern() const;
  // The subject with the matches replaced; $1..$99, $&, $`, $' and $$ are substituted.
  [[nodiscard]] Text ReplaceMatches(const Text& replacement);
  [[nodiscard]] std::int32_t MatchCount() const;
  // Indexes count from 1; out of range gives empty text. bytePosition: 0-based byte offset in the
  // subject where the returned text occurs at or after the match's start, or -2.
  [[nodiscard]] Text MatchText(std::int32_t i, std::int32_t* bytePosition = nullptr) const;
  [[nodiscard]] Text SubMatchText(std::int32_t i, std::int32_t j, std::int32_t* bytePosition = nullptr) const;
  [[nodiscard]] std::int32_t SubMatchCount() const;

 private:
  [[nodiscard]] std::int32_t BytePosition(std::int32_t firstIndex, const Text& found) const;

  RegExpEngineKind kind_;
  std::unique_ptr<RegExpPlatformScope> platform_;
  std::unique_ptr<RegExpEngine> engine_;
  Text subject_;
  std::u16string wideSubject_;
  bool ignoreCase_ = true;
};
