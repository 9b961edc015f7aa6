#pragma once
// Writing the shown picture to a file.
#include "util/text.h"

// The picture as PNG file bytes: PNG bytes unchanged, any other readable picture (WebP, BMP, JPEG,
// GIF) converted without loss of its pixels; empty when it cannot be read.
Bytes PictureAsPng(const Bytes& picture);

// Writes PictureAsPng(picture) to path (code page 936), replacing a file of that name only once
// the whole file is written: a failed write leaves an existing file as it was and no other file
// behind. Nothing is written for an empty path or picture. True when the file was written.
bool SavePictureTo(const Text& path, const Bytes& picture);
