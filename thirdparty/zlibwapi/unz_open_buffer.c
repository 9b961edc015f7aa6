/* unzOpenBuffer: minizip over a block of memory through its I/O function table. Every read and
   seek is checked against the block's end, so no offset in a hostile archive (a ZIP64 one included)
   can make minizip touch memory outside the block. */
#include "unz_open_buffer.h"

#include <stdlib.h>
#include <string.h>

#include "ioapi.h"

/* The smallest central directory record: an archive of n bytes lists at most n / 46 entries. */
#define CENTRAL_RECORD_MIN 46u

typedef struct {
  const unsigned char* base;
  ZPOS64_T size;
} MemoryBlock;

typedef struct {
  MemoryBlock block;
  ZPOS64_T position; /* never beyond block.size */
  int shortRead;     /* the last read ran into the block's end */
} MemoryStream;

static voidpf ZCALLBACK OpenMemory(voidpf opaque, const void* block, int mode) {
  (void)opaque;
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return NULL;
  MemoryStream* stream = malloc(sizeof *stream);
  if (stream == NULL) return NULL;
  stream->block = *(const MemoryBlock*)block;
  stream->position = 0;
  stream->shortRead = 0;
  return stream;
}

static uLong ZCALLBACK ReadMemory(voidpf opaque, voidpf stream, void* buffer, uLong size) {
  (void)opaque;
  MemoryStream* s = stream;
  const ZPOS64_T left = s->block.size - s->position;
  const uLong count = (ZPOS64_T)size < left ? size : (uLong)left;
  if (count > 0) memcpy(buffer, s->block.base + s->position, count);
  s->position += count;
  s->shortRead = count < size;
  return count;
}

static uLong ZCALLBACK WriteMemory(voidpf opaque, voidpf stream, const void* buffer, uLong size) {
  (void)opaque;
  (void)stream;
  (void)buffer;
  (void)size;
  return 0; /* read-only */
}

static ZPOS64_T ZCALLBACK TellMemory(voidpf opaque, voidpf stream) {
  (void)opaque;
  return ((const MemoryStream*)stream)->position;
}

static long ZCALLBACK SeekMemory(voidpf opaque, voidpf stream, ZPOS64_T offset, int origin) {
  (void)opaque;
  MemoryStream* s = stream;
  ZPOS64_T from;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: from = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: from = s->position; break;
    case ZLIB_FILEFUNC_SEEK_END: from = s->block.size; break;
    default: return -1;
  }
  /* Unlike a file, the block cannot be seeked past its end: such offsets fail instead of wrapping. */
  if (offset > s->block.size - from) return -1;
  s->position = from + offset;
  return 0;
}

static int ZCALLBACK CloseMemory(voidpf opaque, voidpf stream) {
  (void)opaque;
  free(stream);
  return 0;
}

/* minizip's UNZ_EOF equals UNZ_OK, so a field cut off by the block's end would read as zero bytes
   and pass; reporting the short read as an error makes a truncated record fail instead. */
static int ZCALLBACK MemoryError(voidpf opaque, voidpf stream) {
  (void)opaque;
  return ((const MemoryStream*)stream)->shortRead;
}

unzFile ZEXPORT unzOpenBuffer(const void* buffer, uLong size) {
  if (buffer == NULL || size == 0) return NULL;
  MemoryBlock block = {buffer, size};
  zlib_filefunc64_def functions = {OpenMemory, ReadMemory, WriteMemory, TellMemory,
                                   SeekMemory, CloseMemory, MemoryError, NULL};
  /* minizip hands `block` to OpenMemory once, which copies it; it need not outlive this call. */
  unzFile file = unzOpen2_64(&block, &functions);
  if (file == NULL) return NULL;

  /* unzOpen ignores a first entry it cannot read, and believes any entry count; callers walk
     number_entry entries, so a count the block cannot hold would have them spin for minutes. */
  unz_global_info64 info;
  if (unzGetGlobalInfo64(file, &info) != UNZ_OK || info.number_entry > size / CENTRAL_RECORD_MIN ||
      (info.number_entry > 0 && unzGoToFirstFile(file) != UNZ_OK)) {
    unzClose(file);
    return NULL;
  }
  return file;
}
