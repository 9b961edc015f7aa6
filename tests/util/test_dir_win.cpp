#include <filesystem>
#include <string>

#include "tests/util/test_dir.h"
#include "util/windows_prelude.h"

std::filesystem::path TestProgramDir() {
  std::wstring path(32768, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return std::filesystem::path(path).parent_path();
}
