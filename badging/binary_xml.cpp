#include "badging/binary_xml.h"

namespace apk {
namespace {

constexpr std::size_t kNodeHeaderSize = 16;  // chunk header, line number, comment
constexpr std::size_t kAttributeMinSize = 20;
constexpr std::size_t kMaxDepth = 4096;

}  // namespace

XmlDocument::XmlDocument(EntryBytes bytes) : bytes_(std::move(bytes)) {
  const ByteView all(bytes_.data(), bytes_.size());
  if (all.u16(0, "XML header") != kChunkXml) throw ApkError("not a compiled XML document");
  const std::size_t headerSize = all.u16(2, "XML header");
  const std::size_t totalSize = all.u32(4, "XML header");
  if (headerSize < 8 || headerSize > totalSize || totalSize > all.size()) throw ApkError("XML header is broken");
  const ByteView doc = all.sub(0, totalSize, "XML document");

  bool havePool = false;
  std::size_t depth = 0;
  std::size_t at = headerSize;
  while (at < doc.size()) {
    const std::uint16_t type = doc.u16(at, "XML chunk");
    const std::size_t chunkHeader = doc.u16(at + 2, "XML chunk");
    const std::size_t chunkSize = doc.u32(at + 4, "XML chunk");
    if (chunkHeader < 8 || chunkHeader > chunkSize || !doc.has(at, chunkSize)) throw ApkError("XML chunk is broken");
    const ByteView chunk = doc.sub(at, chunkSize, "XML chunk");
    switch (type) {
      case kChunkStringPool:
        if (havePool) throw ApkError("XML document has two string pools");
        strings_ = StringPool(chunk);
        havePool = true;
        break;
      case kChunkXmlResourceMap: {
        const std::size_t count = (chunkSize - chunkHeader) / 4;
        resourceIds_.resize(count);
        for (std::size_t i = 0; i < count; ++i) resourceIds_[i] = chunk.u32(chunkHeader + 4 * i, "resource map");
        break;
      }
      case kChunkXmlStartElement: {
        if (!havePool) throw ApkError("XML element before the string pool");
        if (chunkHeader < kNodeHeaderSize) throw ApkError("XML element header is broken");
        if (++depth > kMaxDepth) throw ApkError("XML elements nest too deeply");
        const ByteView ext = chunk.sub(chunkHeader, chunkSize - chunkHeader, "XML element");
        XmlEvent event;
        event.kind = XmlEvent::Kind::kStart;
        event.lineNumber = chunk.u32(8, "XML element");
        event.ns = ext.u32(0, "XML element");
        event.name = ext.u32(4, "XML element");
        const std::size_t attributeStart = ext.u16(8, "XML element");
        const std::size_t attributeSize = ext.u16(10, "XML element");
        const std::size_t count = ext.u16(12, "XML element");
        if (count > 0) {
          if (attributeSize < kAttributeMinSize) throw ApkError("XML attribute size is broken");
          ext.need(attributeStart, attributeSize * count, "XML attributes");
        }
        event.firstAttribute = attributes_.size();
        event.attributeCount = count;
        for (std::size_t i = 0; i < count; ++i) {
          const std::size_t a = attributeStart + attributeSize * i;
          XmlAttribute attribute;
          attribute.ns = ext.u32(a, "XML attribute");
          attribute.name = ext.u32(a + 4, "XML attribute");
          attribute.rawValue = ext.u32(a + 8, "XML attribute");
          attribute.value.dataType = ext.u8(a + 15, "XML attribute");
          attribute.value.data = ext.u32(a + 16, "XML attribute");
          attributes_.push_back(attribute);
        }
        events_.push_back(event);
        break;
      }
      case kChunkXmlEndElement: {
        if (chunkHeader < kNodeHeaderSize) throw ApkError("XML element header is broken");
        if (depth == 0) throw ApkError("XML element ends that never started");
        --depth;
        XmlEvent event;
        event.kind = XmlEvent::Kind::kEnd;
        event.lineNumber = chunk.u32(8, "XML element");
        events_.push_back(event);
        break;
      }
      default:
        // Namespaces, text and unknown chunks carry nothing the badging needs.
        break;
    }
    at += chunkSize;
  }
  if (!havePool) throw ApkError("XML document has no string pool");
  if (depth != 0) throw ApkError("XML document ends inside an element");
}

std::uint32_t XmlDocument::attributeResourceId(const XmlAttribute& attribute) const {
  return attribute.name < resourceIds_.size() ? resourceIds_[attribute.name] : 0;
}

std::optional<std::size_t> XmlDocument::findAttribute(const XmlEvent& element, std::uint32_t resourceId) const {
  for (std::size_t i = 0; i < element.attributeCount; ++i) {
    if (attributeResourceId(attribute(element, i)) == resourceId) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> XmlDocument::findAttribute(const XmlEvent& element, std::string_view name) const {
  for (std::size_t i = 0; i < element.attributeCount; ++i) {
    const XmlAttribute& a = attribute(element, i);
    if (a.ns != kNoIndex) continue;
    const auto text = strings_.at(a.name);
    if (text && *text == name) return i;
  }
  return std::nullopt;
}

std::string XmlDocument::string(std::uint32_t index) const {
  return strings_.at(index).value_or(std::string());
}

}  // namespace apk
