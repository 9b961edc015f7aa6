#pragma once
// `dump badging`: the packaging tool's summary lines of a package, plus application-icon-best.
#include <optional>
#include <string>

#include "badging/res_config.h"
#include "badging/resource_table.h"
#include "badging/zip_archive.h"

namespace apk {

struct BadgingResult {
  std::string output;  // UTF-8 lines ending in "\n", as far as they got
  std::string error;   // empty on success, else one line without its line end
};

// Prints the badging of an opened package. Hostile input ends in an error, never a crash.
BadgingResult DumpBadging(const ZipArchive& archive);

// The sharpest PNG or WebP file among the variants of resId that serve the request apart from density:
// the highest density bucket wins; nodpi and anydpi files count only when no bucket has a file.
std::optional<std::string> BestIconBitmap(const ResourceTable& table, const ResConfig& request, std::uint32_t resId);

}  // namespace apk
