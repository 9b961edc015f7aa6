#pragma once
// Reads manifest attributes the way the packaging tool's badging does, errors included:
// a failed read leaves its message in *error (sticky until the caller clears it).
#include <cstdint>
#include <string>

#include "badging/binary_xml.h"
#include "badging/res_config.h"
#include "badging/resource_table.h"

namespace apk {

class AttributeReader {
 public:
  AttributeReader(const XmlDocument& doc, const ResourceTable& table) : doc_(doc), table_(table) {}

  // The request that references are resolved for.
  void setRequest(const ResConfig& request) { request_ = request; }
  [[nodiscard]] const ResConfig& request() const { return request_; }

  // A plain string attribute (no resolution); empty when absent or not a string.
  std::string string(const XmlEvent& element, std::uint32_t resId, std::string* error) const;
  // A string attribute without namespace, looked up by name.
  std::string string(const XmlEvent& element, const char* name) const;
  // An integer attribute; def when absent or not an integer.
  std::int32_t integer(const XmlEvent& element, std::uint32_t resId, std::int32_t def, std::string* error) const;
  // An integer attribute, following references.
  std::int32_t resolvedInteger(const XmlEvent& element, std::uint32_t resId, std::int32_t def, std::string* error) const;
  // A string attribute, following references through the resource table.
  std::string resolved(const XmlEvent& element, std::uint32_t resId, std::string* error) const;
  // The attribute's value as stored (dynamic references made plain), if present and readable.
  bool rawValue(const XmlEvent& element, std::uint32_t resId, Value& out) const;

  // Follows a reference chain as far as the table allows; false when a link names nothing.
  bool resolveReference(Value& value) const;

 private:
  std::string stringAt(const XmlEvent& element, std::size_t index, std::string* error) const;

  const XmlDocument& doc_;
  const ResourceTable& table_;
  ResConfig request_ = ResConfig::BadgingRequest();
};

// The packaging tool hands strings around as C strings: everything after a zero byte is lost.
std::string CutAtNul(std::string text);

}  // namespace apk
