#ifndef FENNLOW_UNZ_OPEN_BUFFER_H
#define FENNLOW_UNZ_OPEN_BUFFER_H
/* The in-memory counterpart of minizip's unzOpen, exported by zlibwapi.dll. */
#include "unzip.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A handle positioned on the first entry of the ZIP archive held in buffer[0..size), or NULL when
   those bytes are not a readable archive (a null buffer or a size of 0 included). The bytes are read
   in place, never copied: they must stay valid and unchanged until unzClose. */
extern unzFile ZEXPORT unzOpenBuffer(const void* buffer, uLong size);

#ifdef __cplusplus
}
#endif

#endif
