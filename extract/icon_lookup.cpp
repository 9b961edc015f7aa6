#include "extract/icon_lookup.h"

namespace {

// The stem of the last match; the character before the extension is the pattern's unescaped '.',
// so the caller appends the extension with its own dot.
Text LastStem(RegExpWrapper& lookup, const Text& pattern, const Text& badgingText) {
  lookup.Search(pattern, badgingText);
  return lookup.SubMatchText(lookup.MatchCount(), 2);
}

}  // namespace

Text LookUpIconEntry(RegExpWrapper& lookup, const Text& badgingText) {
  if (Text stem = LastStem(lookup, "application-icon(.*?):'(.*?).png'", badgingText); !stem.empty()) {
    return stem + ".png";
  }
  if (Text stem = LastStem(lookup, "application-icon(.*?):'(.*?).webp'", badgingText); !stem.empty()) {
    return stem + ".webp";
  }
  return {};
}
