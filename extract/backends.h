#pragma once
// The two ways of taking the icon entry out of the package.
#include "util/text.h"

// Mode 1: UnZip extracts the entry into "icon" under the run directory; sets currentIconPath and
// returns that file's bytes (empty when nothing was extracted).
Bytes ExtractWithUnzip(const Text& quotedApkPath, const Text& entryPath);

// Mode 2: reads the entry from the package in memory through zlibwapi.dll; empty on any failure.
Bytes ExtractInMemory(const Text& apkPath, const Text& entryPath);

// The uncompressed content of the first entry named `entryName` in the archive held in memory, or empty.
Bytes ReadZipEntry(const Bytes& archive, const Text& entryName);
