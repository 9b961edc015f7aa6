// fuzz_seed_extract <apk> <out-dir> <name>: writes <name>.xml and <name>.arsc when the package has them.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "badging/apk_error.h"
#include "badging/zip_archive.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: fuzz_seed_extract <apk> <out-dir> <name>\n", stderr);
    return 2;
  }
  try {
    const apk::ZipArchive archive(apk::OpenFile(argv[1]));
    const std::filesystem::path dir = argv[2];
    const struct {
      const char* entry;
      const char* suffix;
    } parts[] = {{"AndroidManifest.xml", ".xml"}, {"resources.arsc", ".arsc"}};
    for (const auto& part : parts) {
      const apk::ZipEntry* entry = archive.find(part.entry);
      if (entry == nullptr) continue;
      const auto bytes = archive.read(*entry, apk::kMaxPartSize);
      std::ofstream(dir / (std::string(argv[3]) + part.suffix), std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
  } catch (const apk::ApkError& e) {
    std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
