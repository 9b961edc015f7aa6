#pragma once
// Typed values of compiled resources (Res_value) and the chunk types that carry them.
#include <cstdint>

namespace apk {

enum ChunkType : std::uint16_t {
  kChunkStringPool = 0x0001,
  kChunkTable = 0x0002,
  kChunkXml = 0x0003,
  kChunkXmlStartNamespace = 0x0100,
  kChunkXmlEndNamespace = 0x0101,
  kChunkXmlStartElement = 0x0102,
  kChunkXmlEndElement = 0x0103,
  kChunkXmlCdata = 0x0104,
  kChunkXmlResourceMap = 0x0180,
  kChunkTablePackage = 0x0200,
  kChunkTableType = 0x0201,
  kChunkTableTypeSpec = 0x0202,
  kChunkTableLibrary = 0x0203,
};

enum ValueType : std::uint8_t {
  kTypeNull = 0x00,
  kTypeReference = 0x01,
  kTypeAttribute = 0x02,
  kTypeString = 0x03,
  kTypeDynamicReference = 0x07,
  kTypeFirstInt = 0x10,
  kTypeLastInt = 0x1f,
};

struct Value {
  std::uint8_t dataType = kTypeNull;
  std::uint32_t data = 0;

  [[nodiscard]] bool isInteger() const { return dataType >= kTypeFirstInt && dataType <= kTypeLastInt; }
};

constexpr std::uint32_t kNoIndex = 0xFFFFFFFFu;

}  // namespace apk
