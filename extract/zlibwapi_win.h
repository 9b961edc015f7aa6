#pragma once
// The minizip reading functions of zlibwapi.dll, bound by name at the first mode-2 import.
#include <cstdint>

#include "util/windows_prelude.h"

// zlibwapi.dll is built with ZLIB_WINAPI: __stdcall on i686, the one convention on x86_64.
#define FENNLOW_ZCALL WINAPI

namespace zlibwapi {

using unzFile = void*;

// minizip's records as zlibwapi.dll lays them out (uLong is 32 bits on Windows).
struct unz_global_info {
  unsigned long number_entry;
  unsigned long size_comment;
};

struct tm_unz {
  unsigned int tm_sec, tm_min, tm_hour, tm_mday, tm_mon, tm_year;
};

struct unz_file_info {
  unsigned long version, version_needed, flag, compression_method, dosDate, crc, compressed_size,
      uncompressed_size, size_filename, size_file_extra, size_file_comment, disk_num_start, internal_fa,
      external_fa;
  tm_unz tmu_date;
};
static_assert(sizeof(unz_file_info) == 80);

constexpr int UNZ_OK = 0;
constexpr int UNZ_END_OF_LIST_OF_FILE = -100;
constexpr int UNZ_CRCERROR = -105;

struct Api {
  unzFile(FENNLOW_ZCALL* unzOpenBuffer)(const void* buffer, unsigned long size);
  int(FENNLOW_ZCALL* unzGetGlobalInfo)(unzFile file, unz_global_info* info);
  int(FENNLOW_ZCALL* unzGetGlobalComment)(unzFile file, char* comment, unsigned long size);
  int(FENNLOW_ZCALL* unzGetCurrentFileInfo)(unzFile file, unz_file_info* info, char* name, unsigned long nameSize,
                                            void* extra, unsigned long extraSize, char* comment,
                                            unsigned long commentSize);
  int(FENNLOW_ZCALL* unzOpenCurrentFile)(unzFile file);
  int(FENNLOW_ZCALL* unzReadCurrentFile)(unzFile file, void* buffer, unsigned len);
  int(FENNLOW_ZCALL* unzCloseCurrentFile)(unzFile file);
  int(FENNLOW_ZCALL* unzGoToNextFile)(unzFile file);
  int(FENNLOW_ZCALL* unzClose)(unzFile file);
};

// The bound functions, or null after telling the user (a message box naming the library and the
// missing function). A failed binding is tried again at the next call, so a DLL put in place later
// is picked up without a restart.
const Api* Bind();

}  // namespace zlibwapi
