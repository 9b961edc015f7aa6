#include <cstring>

#include "badging/apk_error.h"
#include "badging/random_access_file.h"

namespace apk {

void MemoryFile::readAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (offset > bytes_.size() || count > bytes_.size() - offset) throw ApkError("read past the end of the file");
  if (count != 0) std::memcpy(buffer, bytes_.data() + offset, count);
}

}  // namespace apk
