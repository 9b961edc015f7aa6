#pragma once
// The compiled resource table (resources.arsc): packages, types, configurations and entries.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "badging/res_config.h"
#include "badging/res_value.h"
#include "badging/string_pool.h"

namespace apk {

// Outcomes of one lookup, named after the packaging tool's status codes because callers act on them.
enum class LookupStatus {
  kFound,
  kNoSuchResource,  // unknown package, no type id, or no configuration has the entry
  kBadType,         // no such type, or a corrupt entry
  kComplex,         // the entry is a bag (style, array, ...)
};

class ResourceTable {
 public:
  // An empty table: every lookup finds nothing (a package without resources.arsc).
  ResourceTable() = default;
  // Parses the table; raises ApkError on a broken one. The bytes are kept.
  explicit ResourceTable(EntryBytes bytes);
  explicit ResourceTable(const std::vector<std::uint8_t>& bytes) : ResourceTable(EntryBytes(ByteBuffer(bytes.begin(), bytes.end()))) {}

  // The best entry of resId for the request, as a plain value.
  LookupStatus getResource(std::uint32_t resId, const ResConfig& request, Value& out, ResConfig* outConfig = nullptr) const;
  // Every non-bag variant of resId, in table order, with its configuration.
  void forEachVariant(std::uint32_t resId, const std::function<void(const ResConfig&, const Value&)>& visit) const;
  // The configuration of every type chunk that holds entries, in table order.
  void forEachConfiguration(const std::function<void(const ResConfig&)>& visit) const;
  // The global value string pool.
  [[nodiscard]] const StringPool& values() const { return values_; }
  // The id of the first package, which a package-local (id 0) reference means.
  [[nodiscard]] std::uint8_t firstPackageId() const { return firstPackageId_; }
  // Turns a dynamic reference into a plain one; false when it names a package the table cannot map.
  bool translateDynamic(Value& value) const;

 private:
  struct TypeChunk {
    ByteView chunk;
    ResConfig config;
    std::uint32_t entryCount = 0;
    std::uint32_t entriesStart = 0;
    std::size_t indexAt = 0;
    std::uint8_t flags = 0;
  };
  struct TypeSpec {
    std::uint32_t entryCount = 0;
    std::vector<TypeChunk> configs;
  };
  struct Package {
    std::uint8_t id = 0;
    // Index by type id - 1; each holds the typeSpec chunks that define that type.
    std::vector<std::vector<TypeSpec>> types;
  };

  void parsePackage(ByteView chunk);
  [[nodiscard]] const Package* findPackage(std::uint8_t id) const;
  // Offset of the entry within its type chunk, or nothing when the chunk lacks it.
  [[nodiscard]] static std::optional<std::uint32_t> entryOffset(const TypeChunk& type, std::uint32_t entry);
  // The value at an entry offset; kBadType or kComplex when there is none.
  [[nodiscard]] static LookupStatus readEntry(const TypeChunk& type, std::uint32_t offset, Value& out);

  EntryBytes bytes_;
  StringPool values_;
  std::vector<Package> packages_;
  std::uint8_t firstPackageId_ = 0x7f;
};

}  // namespace apk
