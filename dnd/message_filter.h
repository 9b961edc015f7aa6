#pragma once
// Which drop messages to let through the process's message filter, by Windows version.
#include <cstdint>
#include <vector>

inline constexpr std::uint32_t kWmDropFiles = 0x233;
inline constexpr std::uint32_t kWmCopyData = 0x4A;
inline constexpr std::uint32_t kWmCopyGlobalData = 0x49;

// From 6.0 (0x600) on, where a lower-integrity Explorer is filtered: WM_DROPFILES, WM_COPYDATA and
// WM_COPYGLOBALDATA in that order. Earlier systems have no filter: nothing.
std::vector<std::uint32_t> DropMessagesToAllow(std::int32_t osVersionWord);
