#pragma once
// The two ways of taking the icon entry out of the package.
#include <cstddef>
#include <cstdint>

#include "util/text.h"

// Mode 1: UnZip extracts the entry into "icon" under the run directory; sets currentIconPath and
// returns that file's bytes (empty when nothing was extracted). An icon of the same name from an
// earlier import is replaced, never shown in place of this one. Entries that cannot go on the
// command line as one literal name (IsSafeUnzipEntry) extract nothing and clear currentIconPath.
Bytes ExtractWithUnzip(const Text& quotedApkPath, const Text& entryPath);

// Mode 2: reads the entry from the package, mapped into memory rather than copied, through
// zlibwapi.dll; empty on any failure.
Bytes ExtractInMemory(const Text& apkPath, const Text& entryPath);

// The uncompressed content of the first entry named `entryName` in the archive held in memory, or
// empty: also when the entry is damaged (read error, CRC error, size not as declared) or declares
// more than kMaxEntryBytes.
Bytes ReadZipEntry(const Bytes& archive, const Text& entryName);
Bytes ReadZipEntry(const std::uint8_t* archive, std::size_t size, const Text& entryName);

// No launcher icon comes near this; a larger entry is refused before anything is allocated.
inline constexpr std::size_t kMaxEntryBytes = 64u << 20;
