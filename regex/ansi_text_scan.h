#pragma once
// Byte-level scans of Text in code page 936 that step over double-byte characters as units, so that
// a trail byte is never taken for an ASCII character.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "util/text.h"

// Bytes of the character at pos: 2 for a lead byte (0x81-0xFE) with a byte after it, else 1.
std::size_t AnsiCharLength(std::string_view text, std::size_t pos) noexcept;

// The pattern with every "#引号" replaced by a double quote.
Text ReplaceQuotePlaceholder(std::string_view pattern);

// Byte offset of the first occurrence of needle that starts at a character boundary at or after
// start (itself a boundary), or -2. ignoreCase folds ASCII letters; double-byte characters compare exactly.
std::int32_t FindTextFrom(std::string_view haystack, std::string_view needle, std::size_t start, bool ignoreCase);
