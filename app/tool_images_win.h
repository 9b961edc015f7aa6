#pragma once
// The two tool executables the program carries as resources, and writing them into the run directory.
#include <cstdint>
#include <span>
#include <string>

// The images as linked into the program (empty when the resource is missing, as in tests).
std::span<const std::uint8_t> AaptImage();   // written as pt.exe
std::span<const std::uint8_t> UnzipImage();  // written as uz.exe

// Makes `path` a hidden file holding exactly `image`. A file that already holds those bytes is
// left as it is (only marked hidden); one that differs is replaced through a temporary file in the
// same directory, so a failed write never leaves a damaged tool behind. False when the file could
// not be brought to that state.
bool WriteHiddenFile(const std::wstring& path, std::span<const std::uint8_t> image);
