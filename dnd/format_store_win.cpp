#include "dnd/format_store.h"

#include <algorithm>
#include <utility>

namespace {

bool SameKey(const FORMATETC& stored, const FORMATETC& request) noexcept {
  return stored.tymed == request.tymed && stored.dwAspect == request.dwAspect &&
         static_cast<WORD>(stored.cfFormat) == static_cast<WORD>(request.cfFormat);
}

FORMATETC KeptCopy(const FORMATETC& format) noexcept {
  FORMATETC copy = format;
  copy.ptd = nullptr;
  return copy;
}

}  // namespace

StoredMedium::StoredMedium(StoredMedium&& other) noexcept : medium_(std::exchange(other.medium_, STGMEDIUM{})) {}

StoredMedium& StoredMedium::operator=(StoredMedium&& other) noexcept {
  if (this != &other) {
    StoredMedium old(std::move(*this));
    medium_ = std::exchange(other.medium_, STGMEDIUM{});
  }
  return *this;
}

StoredMedium::~StoredMedium() {
  if (medium_.tymed != TYMED_NULL) ::ReleaseStgMedium(&medium_);
}

void FormatStore::Append(Owner owner, const FORMATETC& format, StoredMedium medium) {
  entries_.push_back(Entry{owner, KeptCopy(format), std::move(medium)});
}

void FormatStore::Set(Owner owner, const FORMATETC& format, StoredMedium medium) {
  for (Entry& entry : entries_) {
    if (entry.owner == owner && SameKey(entry.format, format)) {
      entry.format = KeptCopy(format);
      // The old medium is released after the entry holds the new one: releasing may run foreign code.
      StoredMedium old = std::exchange(entry.medium, std::move(medium));
      return;
    }
  }
  Append(owner, format, std::move(medium));
}

const STGMEDIUM* FormatStore::Find(Owner owner, const FORMATETC& format) const noexcept {
  for (const Entry& entry : entries_) {
    if (entry.owner == owner && SameKey(entry.format, format)) return &entry.medium.get();
  }
  return nullptr;
}

void FormatStore::RemoveOwner(Owner owner) noexcept {
  // Taken out first and released afterwards, so a release that reaches the store finds it consistent.
  std::vector<Entry> kept;
  std::vector<Entry> dropped;
  try {
    kept.reserve(entries_.size());
    dropped.reserve(entries_.size());
  } catch (...) {
    std::erase_if(entries_, [&](const Entry& entry) { return entry.owner == owner; });
    return;
  }
  for (Entry& entry : entries_) (entry.owner == owner ? dropped : kept).push_back(std::move(entry));
  entries_.swap(kept);
  for (Entry& entry : dropped) entry.medium = StoredMedium{};
}

void FormatStore::Clear() noexcept {
  std::vector<Entry> dropped;
  dropped.swap(entries_);
  for (Entry& entry : dropped) entry.medium = StoredMedium{};
}

std::size_t FormatStore::CountOf(Owner owner) const noexcept {
  return static_cast<std::size_t>(
      std::count_if(entries_.begin(), entries_.end(), [&](const Entry& entry) { return entry.owner == owner; }));
}
