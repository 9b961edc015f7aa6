#pragma once
// What RegExpWrapper needs from a regular-expression engine. Engines work on UTF-16; the wrapper
// converts the program's Text at its boundary. One engine instance serves one search, like the
// automation object that Search creates afresh each time.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct RegExpSettings {
  bool ignoreCase = true;
  bool multiline = true;
  bool global = true;
};

struct RegExpMatch {
  std::u16string value;
  std::int32_t firstIndex = 0;  // UTF-16 units from the start of the subject
};

class RegExpEngine {
 public:
  virtual ~RegExpEngine() = default;

  // Sets the options and pattern and runs the pattern over subject. False when no match collection
  // came out of it (an invalid pattern, or a failed call).
  virtual bool Execute(const RegExpSettings& settings, std::u16string_view pattern, std::u16string_view subject) = 0;
  // The pattern as the engine holds it.
  [[nodiscard]] virtual std::u16string Pattern() const = 0;
  // The subject of the last Execute with its matches (all, or the first unless global) replaced.
  // Empty when the pattern could not run.
  [[nodiscard]] virtual std::optional<std::u16string> Replace(std::u16string_view replacement) const = 0;
  [[nodiscard]] virtual std::int32_t MatchCount() const = 0;
  // Indexes count from 0 here; out of range gives nothing.
  [[nodiscard]] virtual std::optional<RegExpMatch> Match(std::int32_t index) const = 0;
  // A group that took no part in the match gives empty text.
  [[nodiscard]] virtual std::optional<std::u16string> SubMatch(std::int32_t index, std::int32_t group) const = 0;
  // Groups of the first match; 0 without a match.
  [[nodiscard]] virtual std::int32_t SubMatchCount() const = 0;
};

// The built-in engine (regexp_engine_builtin.cpp), available everywhere.
std::unique_ptr<RegExpEngine> CreateBuiltinRegExpEngine();

// A new "VBScript.RegExp" automation object behind the engine interface; null where it cannot be
// created (always, outside Windows). Call inside a RegExpPlatformScope.
std::unique_ptr<RegExpEngine> CreateSystemRegExpEngine();

// What a wrapper holds for its lifetime so that the system engine can work: COM on the thread.
class RegExpPlatformScope {
 public:
  virtual ~RegExpPlatformScope() = default;
};
std::unique_ptr<RegExpPlatformScope> EnterRegExpPlatform();
