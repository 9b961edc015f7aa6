// Parses arbitrary bytes as a resource table and resolves resources against it.
#include <cstdint>
#include <set>
#include <vector>

#include "badging/apk_error.h"
#include "badging/badging.h"
#include "badging/resource_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const apk::ResourceTable table(std::vector<std::uint8_t>(data, data + size));
    std::set<std::string> locales;
    table.forEachConfiguration([&](const apk::ResConfig& c) { locales.insert(c.bcp47()); });
    apk::ResConfig request = apk::ResConfig::BadgingRequest();
    for (const std::string& locale : locales) {
      request.setBcp47(locale);
      for (std::uint32_t id : {0x7f010000u, 0x7f020000u, 0x7f030001u, 0x7f040000u}) {
        apk::Value v;
        if (table.getResource(id, request, v) == apk::LookupStatus::kFound && v.dataType == apk::kTypeString) {
          (void)table.values().at(v.data);
        }
        (void)apk::BestIconBitmap(table, request, id);
      }
    }
  } catch (const apk::ApkError&) {
  }
  return 0;
}
