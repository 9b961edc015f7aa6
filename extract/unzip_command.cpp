#include "extract/unzip_command.h"

#include <string_view>

#include "extract/import.h"

namespace {

// Inside double quotes none of these means anything to cmd.exe or to UnZip's pattern matching.
// Left out on purpose: % and ! (expanded even inside quotes), " and \ (quoting), & | < > ^ ( ),
// [ ] * ? (UnZip wildcards), : (drive letters) and control characters.
constexpr std::string_view kPunctuation = "/ ._-+@#$~,;='{}";

bool IsSafeByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         kPunctuation.find(c) != std::string_view::npos;
}

}  // namespace

bool IsSafeUnzipEntry(const Text& entryPath) {
  if (entryPath.empty() || entryPath.front() == '-' || entryPath.front() == '/') return false;
  for (const char c : entryPath) {
    if (!IsSafeByte(c)) return false;
  }
  std::string_view rest = entryPath;
  while (true) {
    const std::size_t slash = rest.find('/');
    const std::string_view segment = rest.substr(0, slash);
    if (segment.empty() || segment == "." || segment == "..") return false;
    if (slash == std::string_view::npos) return true;
    rest.remove_prefix(slash + 1);
  }
}

Text IconFileName(const Text& entryPath) {
  Text name = TextAfterLast(entryPath, "/");
  return name.empty() ? entryPath : name;
}

Text UnzipCommand(const Text& quotedApkPath, const Text& entryPath) {
  return "uz  -o  -j " + quotedApkPath + " \"" + entryPath + "\"  -d  icon";
}
