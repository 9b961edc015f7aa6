#include <cstddef>
#include <cstring>

#include "app/program.h"
#include "util/windows_prelude.h"

namespace {

// PROCESS_BASIC_INFORMATION: six pointer-sized fields, the environment block's address second.
struct BasicInformation {
  void* exitStatus;
  void* pebBaseAddress;
  void* affinityMask;
  void* basePriority;
  ULONG_PTR uniqueProcessId;
  ULONG_PTR parentProcessId;
};

// OSMajorVersion and OSMinorVersion in the process environment block of this process's own kind.
#if defined(_WIN64)
constexpr std::size_t kMajorOffset = 0x118;
constexpr std::size_t kMinorOffset = 0x11C;
#else
constexpr std::size_t kMajorOffset = 0xA4;
constexpr std::size_t kMinorOffset = 0xA8;
#endif

using NtQueryInformationProcessFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

}  // namespace

std::int32_t ReadOsVersionWord() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  if (!ntdll) return 0;
  // Bound by name: the function is not in the import libraries' documented set.
  const auto query = reinterpret_cast<NtQueryInformationProcessFn>(
      reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "NtQueryInformationProcess")));
  if (!query) return 0;
  BasicInformation info{};
  ULONG returned = 0;
  constexpr int kProcessBasicInformation = 0;
  if (query(::GetCurrentProcess(), kProcessBasicInformation, &info, sizeof(info), &returned) != 0) return 0;
  if (!info.pebBaseAddress) return 0;
  const auto* peb = static_cast<const unsigned char*>(info.pebBaseAddress);
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::memcpy(&major, peb + kMajorOffset, sizeof(major));
  std::memcpy(&minor, peb + kMinorOffset, sizeof(minor));
  return static_cast<std::int32_t>(((major & 0xFF) << 8) | (minor & 0xFF));
}
