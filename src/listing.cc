#include "listing.h"

#include <string.h>

#include "console.h"
#include "platform.h"

uint16_t SG;
uint16_t DTNUM;

// Code addresses of the writer's I/O operations, one for each.
enum : uint32_t {
  AT_CREATE = 0x00401662,
  AT_ROUTINE = 0x004016A0,
  AT_LINE_OPEN = 0x004016F4,
  AT_PAIR = 0x0040174B,
  AT_CLOSE_PAIR = 0x004017B5,
  AT_CLOSE_FLUSH = 0x004017C9,
  AT_CLOSE = 0x004017D8,
};

static const char ROUTINE[] =
    "220 RESTORE 300\r\n"
    "230 READ G,I\r\n"
    "240 if g=-1 then goto 295\r\n"
    "250 SOUND; PITCH G,DURATION 2,VOLUME 4\r\n"
    "270 SOUND; PITCH G,DURATION 2,VOLUME 6\r\n"
    "280 SOUND; PITCH G,DURATION I,VOLUME 8\r\n"
    "290 goto 230\r\n"
    "295 print\"VEGE\"\r\n";

// The file's text reaches the disk in whole blocks of 256 bytes as the
// buffer fills, and the rest at the close. A failed run leaves the buffered
// rest unwritten.
enum : unsigned { BLOCK = 256 };
static PFILE F;
static char FBUF[BLOCK];
static unsigned FLEN;

static void put(const char *s, unsigned n, uint32_t addr) {
  while (n > 0) {
    unsigned room = BLOCK - FLEN, k = n < room ? n : room;
    memcpy(FBUF + FLEN, s, k);
    FLEN += k;
    s += k;
    n -= k;
    if (FLEN == BLOCK) {
      IOCHECK(plat_write(F, FBUF, BLOCK), addr, IN_CONVERT);
      FLEN = 0;
    }
  }
}

static void put_num(int32_t v, uint32_t addr) {
  char t[12];
  put(t, NUMTXT(t, v), addr);
}

// Ends the current line (if any) and opens DATA line DTNUM.
static void open_line(void) {
  put("\r\n", 2, AT_LINE_OPEN);
  put_num(DTNUM, AT_LINE_OPEN);
  put(" data ", 6, AT_LINE_OPEN);
  DTNUM += 10;
  SG++;
}

void LST_OPEN(void) {
  SG = 0;
  DTNUM = 300;
  FLEN = 0;
  IOCHECK(plat_create("tvcsound.txt", &F), AT_CREATE, IN_CONVERT);
  put(ROUTINE, sizeof ROUTINE - 1, AT_ROUTINE);
  open_line();
}

void LST_PAIR(unsigned pitch, unsigned duration) {
  char t[24];
  unsigned n = NUMTXT(t, (int32_t)pitch);
  t[n++] = ',';
  n += NUMTXT(t + n, (int32_t)duration);
  SG++;
  if (SG % 20 == 0) {
    put(t, n, AT_PAIR);
    open_line();
  } else {
    t[n++] = ',';
    put(t, n, AT_PAIR);
  }
}

void LST_CLOSE(void) {
  put("-1,-1\r\n", 7, AT_CLOSE_PAIR);
  if (FLEN > 0)
    IOCHECK(plat_write(F, FBUF, FLEN), AT_CLOSE_FLUSH, IN_CONVERT);
  FLEN = 0;
  IOCHECK(plat_close(F), AT_CLOSE, IN_CONVERT);
}
