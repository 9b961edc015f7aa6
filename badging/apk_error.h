#pragma once
// The one error the APK reader raises: a broken or hostile package, described in one line.
#include <stdexcept>
#include <string>

namespace apk {

class ApkError : public std::runtime_error {
 public:
  explicit ApkError(const std::string& what) : std::runtime_error(what) {}
};

// Fixed bounds that keep hostile input from exhausting memory or time.
inline constexpr std::size_t kMaxPartSize = 64u << 20;       // manifest, resource table
inline constexpr std::size_t kMaxCentralDirectory = 64u << 20;
inline constexpr std::size_t kMaxZipEntries = 1u << 20;
inline constexpr int kMaxReferenceHops = 20;                 // the packaging tool's own limit

}  // namespace apk
