#include "badging/resource_table.h"

#include <algorithm>

namespace apk {
namespace {

constexpr std::uint8_t kTypeFlagSparse = 0x01;
constexpr std::uint8_t kTypeFlagOffset16 = 0x02;
constexpr std::uint16_t kEntryFlagComplex = 0x0001;
constexpr std::uint16_t kEntryFlagCompact = 0x0008;
constexpr std::size_t kEntryHeaderSize = 8;
constexpr std::size_t kTypeHeaderMin = 20 + 4;  // fixed fields plus the configuration's size word
constexpr std::size_t kPackageHeaderMin = 284;

struct ChunkHeader {
  std::uint16_t type;
  std::size_t headerSize;
  std::size_t size;
};

ChunkHeader ReadChunkHeader(ByteView parent, std::size_t at, const char* what) {
  ChunkHeader h{parent.u16(at, what), parent.u16(at + 2, what), parent.u32(at + 4, what)};
  if (h.headerSize < 8 || h.headerSize > h.size || !parent.has(at, h.size)) {
    throw ApkError(std::string(what) + " chunk is broken");
  }
  return h;
}

}  // namespace

ResourceTable::ResourceTable(EntryBytes bytes) : bytes_(std::move(bytes)) {
  const ByteView all(bytes_.data(), bytes_.size());
  const ChunkHeader table = ReadChunkHeader(all, 0, "resource table");
  if (table.type != kChunkTable || table.headerSize < 12) throw ApkError("not a resource table");
  const ByteView body = all.sub(0, table.size, "resource table");
  bool havePool = false;
  for (std::size_t at = table.headerSize; at < body.size();) {
    const ChunkHeader h = ReadChunkHeader(body, at, "resource table");
    const ByteView chunk = body.sub(at, h.size, "resource table chunk");
    if (h.type == kChunkStringPool && !havePool) {
      values_ = StringPool(chunk);
      havePool = true;
    } else if (h.type == kChunkTablePackage) {
      parsePackage(chunk);
    }
    at += h.size;
  }
  if (!packages_.empty()) firstPackageId_ = packages_.front().id;
}

void ResourceTable::parsePackage(ByteView chunk) {
  const ChunkHeader header = ReadChunkHeader(chunk, 0, "package");
  if (header.headerSize < kPackageHeaderMin) throw ApkError("package header is too short");
  const std::uint32_t id = chunk.u32(8, "package");
  if (id > 0xFF) throw ApkError("package id out of range");
  // Packages sharing an id form one group, as in the packaging tool.
  Package* package = nullptr;
  for (Package& p : packages_) {
    if (p.id == id) package = &p;
  }
  if (package == nullptr) {
    packages_.push_back(Package{static_cast<std::uint8_t>(id), {}});
    package = &packages_.back();
  }
  for (std::size_t at = header.headerSize; at < chunk.size();) {
    const ChunkHeader h = ReadChunkHeader(chunk, at, "package");
    const ByteView part = chunk.sub(at, h.size, "package chunk");
    if (h.type == kChunkTableTypeSpec) {
      if (h.headerSize < 16) throw ApkError("typeSpec header is too short");
      const std::uint8_t typeId = part.u8(8, "typeSpec chunk");
      const std::uint32_t entryCount = part.u32(12, "typeSpec chunk");
      if (entryCount > (part.size() - h.headerSize) / 4) throw ApkError("typeSpec entry count exceeds its chunk");
      if (typeId == 0) throw ApkError("typeSpec has id 0");
      if (entryCount > 0) {
        if (package->types.size() < typeId) package->types.resize(typeId);
        package->types[typeId - 1u].push_back(TypeSpec{entryCount, {}});
      }
    } else if (h.type == kChunkTableType) {
      if (h.headerSize < kTypeHeaderMin) throw ApkError("type header is too short");
      TypeChunk type;
      type.chunk = part;
      const std::uint8_t typeId = part.u8(8, "type");
      type.flags = part.u8(9, "type");
      type.entryCount = part.u32(12, "type");
      type.entriesStart = part.u32(16, "type");
      type.indexAt = h.headerSize;
      const std::size_t indexWidth = (type.flags & (kTypeFlagSparse | kTypeFlagOffset16)) ? 2u * ((type.flags & kTypeFlagSparse) ? 2u : 1u) : 4u;
      if (type.entryCount > (part.size() - h.headerSize) / indexWidth) throw ApkError("type entry count exceeds its chunk");
      if (type.entryCount != 0 && (part.size() < kEntryHeaderSize || type.entriesStart > part.size() - kEntryHeaderSize)) {
        throw ApkError("type entries start beyond their chunk");
      }
      if (typeId == 0) throw ApkError("type has id 0");
      type.config = ResConfig::Parse(part.sub(20, h.headerSize - 20, "type configuration"));
      if (type.entryCount > 0) {
        if (package->types.size() < typeId || package->types[typeId - 1u].empty()) throw ApkError("type without a typeSpec chunk");
        package->types[typeId - 1u].back().configs.push_back(type);
      }
    }
    at += h.size;
  }
}

const ResourceTable::Package* ResourceTable::findPackage(std::uint8_t id) const {
  for (const Package& p : packages_) {
    if (p.id == id) return &p;
  }
  return nullptr;
}

std::optional<std::uint32_t> ResourceTable::entryOffset(const TypeChunk& type, std::uint32_t entry) {
  const ByteView& c = type.chunk;
  if (type.flags & kTypeFlagSparse) {
    // Sorted (index, offset / 4) pairs: binary search.
    std::uint32_t low = 0;
    std::uint32_t high = type.entryCount;
    while (low < high) {
      const std::uint32_t mid = low + (high - low) / 2;
      if (c.u16(type.indexAt + 4u * mid, "sparse index") < entry) {
        low = mid + 1;
      } else {
        high = mid;
      }
    }
    if (low == type.entryCount || c.u16(type.indexAt + 4u * low, "sparse index") != entry) return std::nullopt;
    return static_cast<std::uint32_t>(c.u16(type.indexAt + 4u * low + 2, "sparse index")) * 4u;
  }
  if (entry >= type.entryCount) return std::nullopt;
  if (type.flags & kTypeFlagOffset16) {
    const std::uint16_t offset = c.u16(type.indexAt + 2u * entry, "entry offset");
    if (offset == 0xFFFF) return std::nullopt;
    return static_cast<std::uint32_t>(offset) * 4u;
  }
  const std::uint32_t offset = c.u32(type.indexAt + 4u * entry, "entry offset");
  if (offset == kNoIndex) return std::nullopt;
  return offset;
}

LookupStatus ResourceTable::readEntry(const TypeChunk& type, std::uint32_t offset, Value& out) {
  const ByteView& c = type.chunk;
  const std::uint64_t at = static_cast<std::uint64_t>(offset) + type.entriesStart;
  if (at > c.size() - kEntryHeaderSize || (at & 3) != 0) return LookupStatus::kBadType;
  const auto pos = static_cast<std::size_t>(at);
  const std::uint16_t flags = c.u16(pos + 2, "entry");
  if (flags & kEntryFlagCompact) {
    // Compact entries keep the type in the flags' high byte and the data inline.
    out.dataType = static_cast<std::uint8_t>(flags >> 8);
    out.data = c.u32(pos + 4, "entry");
    return LookupStatus::kFound;
  }
  const std::size_t size = c.u16(pos, "entry");
  if (size < kEntryHeaderSize) return LookupStatus::kBadType;
  if (flags & kEntryFlagComplex) return LookupStatus::kComplex;
  if (!c.has(pos + size, 8)) return LookupStatus::kBadType;
  out.dataType = c.u8(pos + size + 3, "entry value");
  out.data = c.u32(pos + size + 4, "entry value");
  return LookupStatus::kFound;
}

bool ResourceTable::translateDynamic(Value& value) const {
  if (value.dataType != kTypeDynamicReference) return true;
  const std::uint32_t package = value.data >> 24;
  if (package == 0) {
    value.data = (value.data & 0xFFFFFFu) | (static_cast<std::uint32_t>(firstPackageId_) << 24);
  } else if (package != 0x7f) {
    return false;
  }
  value.dataType = kTypeReference;
  return true;
}

LookupStatus ResourceTable::getResource(std::uint32_t resId, const ResConfig& request, Value& out, ResConfig* outConfig) const {
  const Package* package = findPackage(static_cast<std::uint8_t>(resId >> 24));
  const std::uint32_t typeId = (resId >> 16) & 0xFF;
  const std::uint32_t entry = resId & 0xFFFF;
  if (package == nullptr || typeId == 0) return LookupStatus::kNoSuchResource;
  if (typeId > package->types.size() || package->types[typeId - 1].empty()) return LookupStatus::kBadType;

  const TypeChunk* best = nullptr;
  std::uint32_t bestOffset = 0;
  for (const TypeSpec& typeSpec : package->types[typeId - 1]) {
    if (entry >= typeSpec.entryCount) continue;
    for (const TypeChunk& type : typeSpec.configs) {
      if (!type.config.match(request)) continue;
      const auto offset = entryOffset(type, entry);
      if (!offset) continue;
      // The first match stands until a strictly better one turns up.
      if (best != nullptr && !type.config.isBetterThan(best->config, request)) continue;
      best = &type;
      bestOffset = *offset;
    }
  }
  if (best == nullptr) return LookupStatus::kNoSuchResource;
  Value value;
  const LookupStatus status = readEntry(*best, bestOffset, value);
  if (status != LookupStatus::kFound) return status;
  if (!translateDynamic(value)) return LookupStatus::kComplex;
  out = value;
  if (outConfig != nullptr) *outConfig = best->config;
  return LookupStatus::kFound;
}

void ResourceTable::forEachVariant(std::uint32_t resId, const std::function<void(const ResConfig&, const Value&)>& visit) const {
  const Package* package = findPackage(static_cast<std::uint8_t>(resId >> 24));
  const std::uint32_t typeId = (resId >> 16) & 0xFF;
  const std::uint32_t entry = resId & 0xFFFF;
  if (package == nullptr || typeId == 0 || typeId > package->types.size()) return;
  for (const TypeSpec& typeSpec : package->types[typeId - 1]) {
    if (entry >= typeSpec.entryCount) continue;
    for (const TypeChunk& type : typeSpec.configs) {
      const auto offset = entryOffset(type, entry);
      Value value;
      if (!offset || readEntry(type, *offset, value) != LookupStatus::kFound || !translateDynamic(value)) continue;
      visit(type.config, value);
    }
  }
}

void ResourceTable::forEachConfiguration(const std::function<void(const ResConfig&)>& visit) const {
  for (const Package& package : packages_) {
    for (const auto& specs : package.types) {
      for (const TypeSpec& typeSpec : specs) {
        for (const TypeChunk& type : typeSpec.configs) visit(type.config);
      }
    }
  }
}

}  // namespace apk
