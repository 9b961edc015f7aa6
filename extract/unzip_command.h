#pragma once
// The command line that has UnZip extract one icon entry, and the rule for entries it may carry.
#include "util/text.h"

// True when the entry can go on UnZip's command line as one literal name: printable ASCII from a
// fixed set (no command-interpreter characters, no UnZip wildcards, no backslash or colon), not
// starting with '-' or '/', no "." or ".." segment and no empty segment.
[[nodiscard]] bool IsSafeUnzipEntry(const Text& entryPath);

// The name the extracted file gets in "icon": the part after the last '/', or the whole entry path
// for an entry at the archive root.
[[nodiscard]] Text IconFileName(const Text& entryPath);

// "uz  -o  -j " + quoted apk path + " " + quoted entry + "  -d  icon". -o overwrites an icon of the
// same name without asking. Only for entries that pass IsSafeUnzipEntry.
[[nodiscard]] Text UnzipCommand(const Text& quotedApkPath, const Text& entryPath);
