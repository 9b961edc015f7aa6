// Parses arbitrary bytes as a compiled manifest and runs the badging walk over it.
#include <cstdint>
#include <vector>

#include "badging/apk_error.h"
#include "badging/attribute_reader.h"
#include "badging/binary_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const apk::XmlDocument doc(std::vector<std::uint8_t>(data, data + size));
    const apk::ResourceTable table;
    const apk::AttributeReader reader(doc, table);
    std::string error;
    for (const apk::XmlEvent& e : doc.events()) {
      if (e.kind != apk::XmlEvent::Kind::kStart) continue;
      (void)doc.string(e.name);
      (void)reader.string(e, "package");
      (void)reader.resolved(e, 0x01010001, &error);
      (void)reader.integer(e, 0x0101021b, -1, &error);
    }
  } catch (const apk::ApkError&) {
  }
  return 0;
}
