#pragma once
// A compiled Android XML document (AndroidManifest.xml), read into a flat list of elements.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "badging/res_value.h"
#include "badging/string_pool.h"

namespace apk {

struct XmlAttribute {
  std::uint32_t ns = kNoIndex;        // string index of the namespace URI
  std::uint32_t name = kNoIndex;      // string index of the name
  std::uint32_t rawValue = kNoIndex;  // string index of the original text
  Value value;
};

struct XmlEvent {
  enum class Kind { kStart, kEnd } kind = Kind::kStart;
  std::uint32_t ns = kNoIndex;
  std::uint32_t name = kNoIndex;
  std::uint32_t lineNumber = 0;
  std::size_t firstAttribute = 0;
  std::size_t attributeCount = 0;
};

class XmlDocument {
 public:
  // Parses a whole document; raises ApkError on a broken one. The bytes are kept.
  explicit XmlDocument(EntryBytes bytes);
  explicit XmlDocument(const std::vector<std::uint8_t>& bytes) : XmlDocument(EntryBytes(ByteBuffer(bytes.begin(), bytes.end()))) {}

  [[nodiscard]] const std::vector<XmlEvent>& events() const { return events_; }
  [[nodiscard]] const StringPool& strings() const { return strings_; }
  [[nodiscard]] const XmlAttribute& attribute(const XmlEvent& element, std::size_t i) const {
    return attributes_[element.firstAttribute + i];
  }
  // The resource ID that the attribute's name maps to, 0 when none.
  [[nodiscard]] std::uint32_t attributeResourceId(const XmlAttribute& attribute) const;
  // Index of the element's attribute with that resource ID, if any.
  [[nodiscard]] std::optional<std::size_t> findAttribute(const XmlEvent& element, std::uint32_t resourceId) const;
  // Index of the element's attribute with that name and no namespace, if any.
  [[nodiscard]] std::optional<std::size_t> findAttribute(const XmlEvent& element, std::string_view name) const;
  // The element's or attribute's name, empty when unreadable.
  [[nodiscard]] std::string string(std::uint32_t index) const;

 private:
  EntryBytes bytes_;
  StringPool strings_;
  std::vector<std::uint32_t> resourceIds_;
  std::vector<XmlEvent> events_;
  std::vector<XmlAttribute> attributes_;
};

}  // namespace apk
