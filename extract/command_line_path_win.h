#pragma once
// The package path as the badging tool and UnZip get it on their command lines. cmd expands %NAME%
// even inside quotes; UnZip also reads its arguments in the system's ANSI code page and treats
// [ ] * ? in the archive name as wildcards (the badging tool reads UTF-16 arguments). A path a
// command would misread is handed over as a stand-in that names the same bytes: the short (8.3)
// path, or else a hard link or copy in the run directory, removed again when this object goes.
#include <string>

#include "util/text.h"

enum class PackageReader { BadgingTool, UnZip };

// True when `reader`'s command reads `path` back as the same name: no '%', and for UnZip every
// character with an exact ANSI form and none of its wildcard characters.
[[nodiscard]] bool CommandReadsPathIntact(PackageReader reader, const std::wstring& path);

class CommandLinePackagePath {
 public:
  // Which stand-ins may serve: the short path is preferred; where a system has no short names,
  // only the link or copy works.
  enum class StandIns { ShortPathFirst, LinkOrCopyOnly };

  // `quotedApkPath` is the package path in double quotes, as the import builds it.
  CommandLinePackagePath(PackageReader reader, const Text& quotedApkPath,
                         StandIns standIns = StandIns::ShortPathFirst);
  ~CommandLinePackagePath();
  CommandLinePackagePath(const CommandLinePackagePath&) = delete;
  CommandLinePackagePath& operator=(const CommandLinePackagePath&) = delete;

  // What goes on the command lines, in double quotes; the original when it needs no stand-in.
  [[nodiscard]] const Text& quoted() const noexcept { return quoted_; }

 private:
  Text quoted_;
  std::wstring standIn_;  // the link or copy this object made, removed by the destructor
};
