#include "picture/save_win.h"

#include <string>
#include <utility>

#include "util/unique_resource.h"
#include "util/wide_win.h"

namespace {

// A file beside the target that is deleted unless it has become the target.
class TempFile {
 public:
  TempFile() noexcept = default;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
  }

  // Creates a new, empty file named after the target; an existing file of that name is left alone.
  UniqueFileHandle Create(const std::wstring& target) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
      std::wstring candidate = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                               std::to_wstring(::GetTickCount() + attempt) + L".tmp";
      UniqueFileHandle file(::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file) {
        path_ = std::move(candidate);
        return file;
      }
      if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return {};
  }

  // Moves the written file onto the target, replacing any file there.
  bool Replace(const std::wstring& target) {
    if (!::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return false;
    }
    path_.clear();
    return true;
  }

 private:
  std::wstring path_;
};

bool WriteAll(HANDLE file, const Bytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t rest = bytes.size() - done;
    const DWORD chunk = rest > (1u << 30) ? (1u << 30) : static_cast<DWORD>(rest);
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return ::FlushFileBuffers(file) != FALSE;
}

}  // namespace

bool SavePictureTo(const Text& path, const Bytes& picture) {
  try {
    if (path.empty() || picture.empty()) return false;
    const Bytes png = PictureAsPng(picture);
    if (png.empty()) return false;
    const std::wstring target = ToWide(path);
    if (target.empty()) return false;
    // Windows refuses to replace these; Wine's rename would not, so ask first.
    const DWORD existing = ::GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
      return false;
    }
    TempFile temp;
    {
      UniqueFileHandle file = temp.Create(target);
      if (!file || !WriteAll(file.get(), png)) return false;
      if (!::CloseHandle(file.release())) return false;
    }
    return temp.Replace(target);
  } catch (...) {
    return false;
  }
}
