#pragma once
// Conversions between the program's ANSI text, UTF-16 and UTF-8.
// Every failure (a count of 0 from the platform) and every empty or all-zero input gives an empty value.
#include <cstdint>
#include <string>
#include <string_view>

#include "util/text.h"

// Code pages the program converts with.
inline constexpr std::int32_t kCodePageGbk = 936;
inline constexpr std::int32_t kCodePageUtf8 = 65001;

// Multibyte text in `codePage` (read up to its first zero byte) -> UTF-16 with its terminator, or empty.
// A non-empty result always ends in a zero unit, even where the platform's count leaves it off.
WideText AnsiToWide(const Bytes& bytes, std::int32_t codePage);

// The units before the first zero unit (a trailing odd byte is dropped), or empty.
WideText CutAtWideNul(const WideText& wide);

// Text in consoleCodePage -> UTF-16, with the terminator unless stripTerminator is set.
WideText TextToWide(const Text& text, bool stripTerminator);

// UTF-16 (read up to its first zero unit; a trailing odd byte is ignored) -> bytes in `codePage`
// without terminator, or empty. Characters the code page lacks become its default character.
Bytes WideToAnsi(const WideText& wide, std::int32_t codePage);

// UTF-8 tool output -> Text in consoleCodePage.
Text Utf8ToConsoleText(const Bytes& utf8);

// Convenience forms for the platform boundary, both in consoleCodePage and without terminators.
std::u16string TextToUtf16(std::string_view text);
Text Utf16ToText(std::u16string_view wide);
