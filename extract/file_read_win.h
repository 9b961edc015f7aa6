#pragma once
// Reading a whole file, bounded.
#include <cstddef>

#include "util/text.h"

// The file's bytes; empty when the path is empty, the file cannot be read or is larger than maxBytes.
Bytes ReadWholeFile(const Text& path, std::size_t maxBytes);
