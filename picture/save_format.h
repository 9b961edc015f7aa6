#pragma once
// Which encoded picture formats bytes hold, by their signatures.
#include "util/text.h"

[[nodiscard]] bool IsPngFile(const Bytes& bytes);
[[nodiscard]] bool IsWebpFile(const Bytes& bytes);
