#pragma once
// The CF_HDROP memory layout: a 20-byte DROPFILES header followed by a zero-terminated name list.
#include <cstddef>
#include <string_view>
#include <vector>

#include "util/text.h"

inline constexpr std::size_t kDropFilesHeaderSize = 20;

// Header (pFiles 20, pt (0, 0), fNC 0, fWide) and the names, each ended by one zero unit, then one
// more zero unit; no names still gives two zero units. Units are bytes, or UTF-16LE pairs with `wide`.
// Each name holds its encoded units as given, without terminator.
Bytes BuildDropFilesBlock(const std::vector<Bytes>& names, bool wide);

// UTF-16 text as the little-endian bytes a wide name list holds.
Bytes Utf16ToLeBytes(std::u16string_view text);
