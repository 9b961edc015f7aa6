#pragma once
// The package path as UnZip gets it on its command line. UnZip reads its arguments in the system's
// ANSI code page and treats [ ] * ? in the archive name as wildcards, so a path it would misread
// is handed over as a stand-in that names the same bytes: the short (8.3) path, or else a hard link
// or copy in the run directory, removed again when this object goes.
#include <string>

#include "util/text.h"

// True when UnZip reads `path` back as the same name: every character has an exact ANSI form and
// none is one of UnZip's wildcard characters.
[[nodiscard]] bool UnzipReadsPathIntact(const std::wstring& path);

class UnzipSourcePath {
 public:
  // Which stand-ins may serve: the short path is preferred; where a system has no short names,
  // only the link or copy works.
  enum class StandIns { ShortPathFirst, LinkOrCopyOnly };

  // `quotedApkPath` is the package path in double quotes, as the import builds it.
  explicit UnzipSourcePath(const Text& quotedApkPath, StandIns standIns = StandIns::ShortPathFirst);
  ~UnzipSourcePath();
  UnzipSourcePath(const UnzipSourcePath&) = delete;
  UnzipSourcePath& operator=(const UnzipSourcePath&) = delete;

  // What goes on UnZip's command line, in double quotes; the original when it needs no stand-in.
  [[nodiscard]] const Text& quoted() const noexcept { return quoted_; }

 private:
  Text quoted_;
  std::wstring standIn_;  // the link or copy this object made, removed by the destructor
};
