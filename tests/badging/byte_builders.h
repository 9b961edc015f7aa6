#pragma once
// Small writers for hand-built ZIP archives, string pools, compiled XML and resource tables.
#include <cstdint>
#include <string>
#include <vector>

namespace apktest {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v);
void Put32(Bytes& b, std::uint32_t v);
void Put64(Bytes& b, std::uint64_t v);
void Set32(Bytes& b, std::size_t at, std::uint32_t v);
// A chunk: type, header size, total size, then header fields and body.
Bytes Chunk(std::uint16_t type, const Bytes& headerFields, const Bytes& body);

// A string pool chunk in UTF-8 or UTF-16.
Bytes StringPoolChunk(const std::vector<std::string>& strings, bool utf8);

struct ZipFileSpec {
  std::string name;
  Bytes data;
  bool deflate = false;
};
struct ZipOptions {
  std::string comment;
  bool zip64 = false;  // saturated 32-bit fields with Zip64 extras and end records
};
Bytes BuildZip(const std::vector<ZipFileSpec>& files, const ZipOptions& options = {});

// Compiled XML: elements with attributes given as (name index, resource ID, value type, data, raw string index).
struct XmlAttr {
  std::uint32_t ns;
  std::uint32_t name;
  std::uint32_t raw;
  std::uint8_t type;
  std::uint32_t data;
};
struct XmlElement {
  std::uint32_t name;
  std::vector<XmlAttr> attrs;
  std::vector<XmlElement> children;
};
Bytes BuildXml(const std::vector<std::string>& strings, bool utf8, const std::vector<std::uint32_t>& resourceIds,
               const XmlElement& root);

// Resource tables: one package (id 0x7f) with typed entries in chosen encodings.
struct TableEntry {
  std::uint32_t index;
  std::uint8_t type;  // value type; 0xFF marks a bag (complex entry)
  std::uint32_t data;
};
enum class Encoding { kDense, kSparse, kOffset16, kCompact };
struct TableType {
  std::uint8_t id;
  std::uint16_t density = 0;
  std::string locale;  // "" or two letters, optionally "-RR"
  std::vector<TableEntry> entries;
  Encoding encoding = Encoding::kDense;
};
Bytes BuildTable(const std::vector<std::string>& values, const std::vector<std::uint32_t>& entryCounts,
                 const std::vector<TableType>& types);

}  // namespace apktest
