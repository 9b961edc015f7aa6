#pragma once
// The program's value types for text and data.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A counted byte sequence; empty and "null" are the same value.
using Bytes = std::vector<std::uint8_t>;

// Zero-free bytes of ANSI text in code page 936 (the program's literals and decoded tool output).
// Comparisons are byte-wise and case-sensitive, as std::string's are.
using Text = std::string;

// UTF-16LE text held as bytes; each operation states whether its 2-byte terminator is included.
using WideText = Bytes;

// Bytes -> Text keeps the bytes up to the first zero byte.
Text BytesToText(const Bytes& bytes);
Bytes TextToBytes(std::string_view text);
