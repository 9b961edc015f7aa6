#pragma once
// Pixels for the clipboard bitmap, which most programs paste without reading its alpha.
#include "picture/image.h"

// The premultiplied picture drawn over white: transparent areas become white, every pixel opaque.
Image32 OverWhite(const Image32& image);
