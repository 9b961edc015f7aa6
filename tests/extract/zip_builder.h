#pragma once
// Small ZIP archives with stored entries and chosen header lies, for the in-memory back end's cases.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/text.h"

struct ZipEntrySpec {
  std::string name;
  Bytes data = {};
  std::optional<std::uint32_t> crc = {};         // written instead of the real CRC-32
  std::optional<std::uint32_t> declaredSize = {};// written instead of the real sizes, in both headers
};

std::uint32_t Crc32(const Bytes& data);
Bytes BuildStoredZip(const std::vector<ZipEntrySpec>& entries);
Bytes AsBytes(const std::string& text);
