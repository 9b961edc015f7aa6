#pragma once
// Decoding of encoded picture bytes (PNG, BMP, JPEG, GIF, WebP, and whatever else the system's
// imaging component reads) into a 32-bit premultiplied picture.
#include "picture/image.h"
#include "util/text.h"

// The first frame of the picture at its own size; empty for empty, undecodable or oversized input.
Image32 DecodeImage(const Bytes& bytes);
