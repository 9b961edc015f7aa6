#pragma once
// Finding the launcher icon's entry in the badging tool's output.
#include "regex/regexp_wrapper.h"
#include "util/text.h"

// The entry path named by the last application-icon line that ends in png ("<stem>.png"), else by
// the last one that ends in webp ("<stem>.webp"); empty when there is neither.
Text LookUpIconEntry(RegExpWrapper& lookup, const Text& badgingText);
