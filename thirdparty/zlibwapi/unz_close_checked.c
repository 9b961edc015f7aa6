/* zlibwapi.dll's unzCloseCurrentFile: minizip's, renamed at its build, plus one check. minizip
   compares the CRC only when an entry was read to its declared size; an entry whose data ends before
   that size (an absurd size in a hostile directory) would otherwise close as if nothing were wrong. */
#include "unzip.h"

extern int ZEXPORT minizip_unzCloseCurrentFile(unzFile file);

int ZEXPORT unzCloseCurrentFile(unzFile file) {
  int endedEarly = 0;
  /* unzeof is nonzero at the declared end and when no entry is open. */
  if (file != NULL && unzeof(file) == 0) {
    char probe;
    endedEarly = unzReadCurrentFile(file, &probe, 1) == 0;
  }
  const int result = minizip_unzCloseCurrentFile(file);
  return result == UNZ_OK && endedEarly ? UNZ_BADZIPFILE : result;
}
