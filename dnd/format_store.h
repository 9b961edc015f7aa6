#pragma once
// The data offered by the program's drags: entries of (owner, FORMATETC, STGMEDIUM), looked up by
// the key tymed, dwAspect and 16-bit cfFormat (ptd and lindex are never compared), first match wins.
// Each data object sees and empties only its own entries, so an earlier drag's object that dies late
// cannot empty the data of the drag under way.
#include <cstddef>
#include <vector>

#include "util/windows_prelude.h"
#include <objidl.h>

// Owns one STGMEDIUM; frees it with ReleaseStgMedium.
class StoredMedium {
 public:
  StoredMedium() noexcept = default;
  explicit StoredMedium(const STGMEDIUM& medium) noexcept : medium_(medium) {}  // takes ownership
  StoredMedium(StoredMedium&& other) noexcept;
  StoredMedium& operator=(StoredMedium&& other) noexcept;
  StoredMedium(const StoredMedium&) = delete;
  StoredMedium& operator=(const StoredMedium&) = delete;
  ~StoredMedium();

  [[nodiscard]] const STGMEDIUM& get() const noexcept { return medium_; }

 private:
  STGMEDIUM medium_{};
};

class FormatStore {
 public:
  using Owner = const void*;

  // Appends; the store owns the medium from here on, also when the append fails.
  void Append(Owner owner, const FORMATETC& format, StoredMedium medium);
  // Replaces the owner's entry with the same key (its old medium is released), or appends.
  void Set(Owner owner, const FORMATETC& format, StoredMedium medium);
  // The owner's first entry matching the key of `format`, or null.
  [[nodiscard]] const STGMEDIUM* Find(Owner owner, const FORMATETC& format) const noexcept;
  // Drops the owner's entries, releasing their media from the first to the last.
  void RemoveOwner(Owner owner) noexcept;
  // Drops every entry (module exit).
  void Clear() noexcept;

  [[nodiscard]] std::size_t size() const noexcept { return entries_.size(); }
  [[nodiscard]] std::size_t CountOf(Owner owner) const noexcept;

 private:
  struct Entry {
    Owner owner;
    FORMATETC format;  // ptd is not kept: it is never compared and never handed out
    StoredMedium medium;
  };
  std::vector<Entry> entries_;
};

// One store for the whole module, shared by every drag data object.
inline FormatStore formatStore;
