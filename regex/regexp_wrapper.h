#pragma once
// The program's regular-expression facility: compile a pattern, run it over a subject, read the
// matches by 1-based index. Every failure yields an empty result (false, 0 or empty text).
#include <cstdint>
#include <memory>
#include <optional>

#include "util/text.h"

class RegExpEngine;  // one engine behind the wrapper (the system's VBScript.RegExp, or the built-in one)

enum class RegExpEngineKind {
  Automatic,  // the system's VBScript.RegExp where it can be created, else the built-in engine
  System,     // VBScript.RegExp only (Windows); when it cannot be created every search fails
  BuiltIn,    // the built-in engine only
};

class RegExpWrapper {
 public:
  explicit RegExpWrapper(RegExpEngineKind kind = RegExpEngineKind::Automatic);
  ~RegExpWrapper();
  RegExpWrapper(const RegExpWrapper&) = delete;
  RegExpWrapper& operator=(const RegExpWrapper&) = delete;

  // Defaults: caseSensitive false, multiline true, global true, quotePlaceholder false.
  // True when the run produced a match collection (false for an invalid pattern).
  bool Search(const Text& pattern, const Text& subject, std::optional<bool> caseSensitive = {},
              std::optional<bool> multiline = {}, std::optional<bool> global = {},
              std::optional<bool> quotePlaceholder = {});
  [[nodiscard]] Text GetPattern() const;
  [[nodiscard]] Text ReplaceMatches(const Text& replacement);
  [[nodiscard]] std::int32_t MatchCount() const;
  // Indexes count from 1; out of range gives empty text. bytePosition: 0-based byte offset in the
  // subject where the returned text occurs at or after the match, or -2.
  [[nodiscard]] Text MatchText(std::int32_t i, std::int32_t* bytePosition = nullptr) const;
  [[nodiscard]] Text SubMatchText(std::int32_t i, std::int32_t j, std::int32_t* bytePosition = nullptr) const;
  [[nodiscard]] std::int32_t SubMatchCount() const;

 private:
  RegExpEngineKind kind_;
  std::unique_ptr<RegExpEngine> engine_;
  // (the implementation adds what it needs: COM scope, subject, settings)
};
