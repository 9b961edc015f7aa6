// Opens arbitrary bytes as an archive and reads every entry (small ones in full).
#include <cstdint>
#include <vector>

#include "badging/apk_error.h"
#include "badging/badging.h"
#include "badging/zip_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const apk::ZipArchive archive(std::make_unique<apk::MemoryFile>(std::vector<std::uint8_t>(data, data + size)));
    for (const apk::ZipEntry& entry : archive.entries()) {
      try {
        (void)archive.read(entry, 1u << 20);
      } catch (const apk::ApkError&) {
      }
    }
    (void)apk::DumpBadging(archive);
  } catch (const apk::ApkError&) {
  }
  return 0;
}
