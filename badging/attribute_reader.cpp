#include "badging/attribute_reader.h"

namespace apk {

std::string CutAtNul(std::string text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

std::string AttributeReader::stringAt(const XmlEvent& element, std::size_t index, std::string* error) const {
  const XmlAttribute& a = doc_.attribute(element, index);
  if (a.value.dataType != kTypeString) {
    if (error) *error = "attribute is not a string value";
    return {};
  }
  return CutAtNul(doc_.strings().at(a.rawValue).value_or(std::string()));
}

std::string AttributeReader::string(const XmlEvent& element, std::uint32_t resId, std::string* error) const {
  const auto index = doc_.findAttribute(element, resId);
  return index ? stringAt(element, *index, error) : std::string();
}

std::string AttributeReader::string(const XmlEvent& element, const char* name) const {
  const auto index = doc_.findAttribute(element, std::string_view(name));
  return index ? stringAt(element, *index, nullptr) : std::string();
}

std::int32_t AttributeReader::integer(const XmlEvent& element, std::uint32_t resId, std::int32_t def, std::string* error) const {
  const auto index = doc_.findAttribute(element, resId);
  if (!index) return def;
  const Value& v = doc_.attribute(element, *index).value;
  if (!v.isInteger()) {
    if (error) *error = "attribute is not an integer value";
    return def;
  }
  return static_cast<std::int32_t>(v.data);
}

std::int32_t AttributeReader::resolvedInteger(const XmlEvent& element, std::uint32_t resId, std::int32_t def,
                                              std::string* error) const {
  const auto index = doc_.findAttribute(element, resId);
  if (!index) return def;
  Value value = doc_.attribute(element, *index).value;
  table_.translateDynamic(value);
  if (value.dataType == kTypeReference) resolveReference(value);
  if (!value.isInteger()) {
    if (error) *error = "attribute is not an integer value";
    return def;
  }
  return static_cast<std::int32_t>(value.data);
}

bool AttributeReader::rawValue(const XmlEvent& element, std::uint32_t resId, Value& out) const {
  const auto index = doc_.findAttribute(element, resId);
  if (!index) return false;
  out = doc_.attribute(element, *index).value;
  return table_.translateDynamic(out);
}

bool AttributeReader::resolveReference(Value& value) const {
  for (int hops = 0; value.dataType == kTypeReference && value.data != 0 && hops < kMaxReferenceHops; ++hops) {
    Value next = value;
    const LookupStatus status = table_.getResource(value.data, request_, next);
    if (status == LookupStatus::kNoSuchResource) return false;
    // A bag or a broken entry ends the chain with the reference itself.
    if (status != LookupStatus::kFound) return true;
    value = next;
  }
  return true;
}

std::string AttributeReader::resolved(const XmlEvent& element, std::uint32_t resId, std::string* error) const {
  const auto index = doc_.findAttribute(element, resId);
  if (!index) return {};
  Value value = doc_.attribute(element, *index).value;
  if (!table_.translateDynamic(value)) {
    if (error) *error = "attribute value is corrupt";
    return {};
  }
  if (value.dataType == kTypeString) {
    return CutAtNul(doc_.strings().at(doc_.attribute(element, *index).rawValue).value_or(std::string()));
  }
  if (!resolveReference(value)) {
    if (error) *error = "attribute value reference does not exist";
    return {};
  }
  if (value.dataType != kTypeString) {
    if (error) *error = "attribute is not a string value";
    return {};
  }
  return CutAtNul(table_.values().at(value.data).value_or(std::string()));
}

}  // namespace apk
