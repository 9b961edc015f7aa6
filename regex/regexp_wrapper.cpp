#include "regex/regexp_wrapper.h"

#include "regex/ansi_text_scan.h"
#include "regex/regexp_engine.h"
#include "util/codepage.h"

RegExpWrapper::RegExpWrapper(RegExpEngineKind kind) : kind_(kind), platform_(EnterRegExpPlatform()) {}

RegExpWrapper::~RegExpWrapper() {
  // The engine's COM objects go before COM is uninitialised.
  engine_.reset();
  platform_.reset();
}

bool RegExpWrapper::Search(const Text& pattern, const Text& subject, std::optional<bool> caseSensitive,
                           std::optional<bool> multiline, std::optional<bool> global,
                           std::optional<bool> quotePlaceholder) {
  RegExpSettings settings;
  settings.ignoreCase = !caseSensitive.value_or(false);
  settings.multiline = multiline.value_or(true);
  settings.global = global.value_or(true);

  engine_.reset();
  switch (kind_) {
    case RegExpEngineKind::System:
      engine_ = CreateSystemRegExpEngine();
      break;
    case RegExpEngineKind::Automatic:
      engine_ = CreateSystemRegExpEngine();
      if (!engine_) engine_ = CreateBuiltinRegExpEngine();
      break;
    case RegExpEngineKind::BuiltIn:
      engine_ = CreateBuiltinRegExpEngine();
      break;
  }

  const Text effectivePattern = quotePlaceholder.value_or(false) ? ReplaceQuotePlaceholder(pattern) : pattern;
  subject_ = subject;
  wideSubject_ = TextToUtf16(subject);
  ignoreCase_ = settings.ignoreCase;
  if (!engine_) return false;
  return engine_->Execute(settings, TextToUtf16(effectivePattern), wideSubject_);
}

Text RegExpWrapper::GetPattern() const { return engine_ ? Utf16ToText(engine_->Pattern()) : Text(); }

Text RegExpWrapper::ReplaceMatches(const Text& replacement) {
  if (!engine_) return Text();
  const std::optional<std::u16string> replaced = engine_->Replace(TextToUtf16(replacement));
  return replaced ? Utf16ToText(*replaced) : Text();
}

std::int32_t RegExpWrapper::MatchCount() const { return engine_ ? engine_->MatchCount() : 0; }

Text RegExpWrapper::MatchText(std::int32_t i, std::int32_t* bytePosition) const {
  if (bytePosition) *bytePosition = -2;
  if (!engine_ || i < 1) return Text();
  const std::optional<RegExpMatch> match = engine_->Match(i - 1);
  if (!match) return Text();
  Text text = Utf16ToText(match->value);
  if (bytePosition) *bytePosition = BytePosition(match->firstIndex, text);
  return text;
}

Text RegExpWrapper::SubMatchText(std::int32_t i, std::int32_t j, std::int32_t* bytePosition) const {
  if (bytePosition) *bytePosition = -2;
  if (!engine_ || i < 1 || j < 1) return Text();
  const std::optional<std::u16string> sub = engine_->SubMatch(i - 1, j - 1);
  if (!sub) return Text();
  Text text = Utf16ToText(*sub);
  if (bytePosition) {
    // Sub-matches carry no index of their own: search from the whole match's start.
    const std::optional<RegExpMatch> match = engine_->Match(i - 1);
    if (match) *bytePosition = BytePosition(match->firstIndex, text);
  }
  return text;
}

std::int32_t RegExpWrapper::SubMatchCount() const { return engine_ ? engine_->SubMatchCount() : 0; }

// The match's start in bytes comes from converting the subject before it, so a double-byte character
// counts two bytes for its one UTF-16 unit and the search never starts inside a character.
std::int32_t RegExpWrapper::BytePosition(std::int32_t firstIndex, const Text& found) const {
  if (firstIndex < 0 || static_cast<std::size_t>(firstIndex) > wideSubject_.size()) return -2;
  const std::size_t start =
      Utf16ToText(std::u16string_view(wideSubject_).substr(0, static_cast<std::size_t>(firstIndex))).size();
  if (start > subject_.size()) return -2;
  return FindTextFrom(subject_, found, start, ignoreCase_);
}
