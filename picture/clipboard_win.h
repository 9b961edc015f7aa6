#pragma once
// The picture as a bitmap on the clipboard (CF_BITMAP).
#include "util/text.h"
#include "util/unique_resource.h"

// Decodes the picture and puts a bitmap of its own size on the clipboard, replacing what was
// there; transparent areas become white. Empty or undecodable bytes, or a clipboard that another
// program holds open, leave the clipboard as it was.
void CopyPictureToClipboard(const Bytes& picture);

// The system picture loader's bitmap of the picture (BMP, JPEG, GIF), as a new bitmap the caller
// owns; none when the loader cannot read it or yields no bitmap (an icon, a metafile).
UniqueBitmap LoadBitmapFromBytes(const Bytes& picture);
