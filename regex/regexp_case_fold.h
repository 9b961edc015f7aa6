#pragma once
// Case mapping of UTF-16 units for case-insensitive matching, covering the letters that code page 936
// can hold (ASCII, Latin-1, the pinyin letters, Greek, Cyrillic, Roman numerals, full-width Latin).
// Like JScript's canonicalisation, no character outside ASCII maps to or from an ASCII letter.

// The upper-case form of c, or c itself.
char16_t CaseFoldUpper(char16_t c) noexcept;

// The lower-case form of c, or c itself.
char16_t CaseFoldLower(char16_t c) noexcept;
