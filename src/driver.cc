#include "driver.h"

#include <string.h>

#include "console.h"
#include "convert.h"

uint8_t BUF[BUFSIZE];
uint16_t NUMREAD;
uint16_t POS;
int16_t ELTOLAS;
uint8_t TRCK;

// Code addresses of the driver's I/O operations, one for each.
enum : uint32_t {
  AT_USAGE = 0x00401015,
  AT_USAGE_WAIT = 0x00401034,
  AT_OPEN_MSG = 0x004010B8,
  AT_OPEN = 0x004010E1,
  AT_READ = 0x00401127,
  AT_READED_MSG = 0x0040117A,
  AT_TRANSPOSE_MSG = 0x004011C3,
  AT_CLOSE = 0x004011D9,
  AT_LOOKING_MSG = 0x0040122E,
  AT_SEARCH_MSG = 0x00401295,
  AT_NOT_FOUND_MSG = 0x0040133B,
  AT_END_MSG = 0x0040141C,
  AT_WAIT = 0x00401431,
};

uint8_t BYTEAT(long i) { return i >= 0 && i < (long)BUFSIZE ? BUF[i] : 0; }

// Parses the number syntax shared by both arguments: blanks (spaces and
// tabs), a sign, a base prefix, and digits up to the end of the text.
// Leading zeros are skipped and never select base 8. The magnitude is capped
// just above 32 bits, which every caller rejects.
static bool parse_number(const char *s, bool *neg, unsigned *base, uint64_t *mag) {
  const uint64_t cap = 0x100000000ULL;
  while (*s == ' ' || *s == '\t')
    s++;
  *neg = false;
  if (*s == '-' || *s == '+')
    *neg = *s++ == '-';
  *base = 10;
  if (*s == '$' || *s == 'x' || *s == 'X') {
    *base = 16;
    s++;
  } else if (*s == '0' && (s[1] == 'x' || s[1] == 'X')) {
    *base = 16;
    s += 2;
  } else if (*s == '%') {
    *base = 2;
    s++;
  } else if (*s == '&') {
    *base = 8;
    s++;
  }
  if (*s == '\0')
    return false;
  *mag = 0;
  for (; *s != '\0'; s++) {
    unsigned d;
    if (*s >= '0' && *s <= '9')
      d = (unsigned)(*s - '0');
    else if (*s >= 'A' && *s <= 'F')
      d = (unsigned)(*s - 'A' + 10);
    else if (*s >= 'a' && *s <= 'f')
      d = (unsigned)(*s - 'a' + 10);
    else
      return false;
    if (d >= *base)
      return false;
    *mag = *mag * *base + d;
    if (*mag > cap)
      *mag = cap;
  }
  return true;
}

int32_t VALSIGNED(const char *s) {
  bool neg;
  unsigned base;
  uint64_t mag;
  if (!parse_number(s, &neg, &base, &mag))
    return 0;
  if (base == 10) {
    if (mag > (neg ? 0x80000000ULL : 0x7FFFFFFFULL))
      return 0;
  } else if (mag > 0xFFFFFFFFULL) {
    return 0;
  }
  uint32_t bits = (uint32_t)mag;
  if (neg)
    bits = 0U - bits;
  return (int32_t)bits;
}

uint32_t VALUNSIGNED(const char *s) {
  bool neg;
  unsigned base;
  uint64_t mag;
  if (!parse_number(s, &neg, &base, &mag) || neg || mag > 0xFFFFFFFFULL)
    return 0;
  return (uint32_t)mag;
}

static const char USAGE[] =
    "Usage: midibas FILE [TRANSPOSE [STATUS]]\r\n"
    "Converts the note stream of one MIDI channel into tvcsound.txt,\r\n"
    "a BASIC program that plays the tune with SOUND statements.\r\n"
    "  FILE       the MIDI file to read\r\n"
    "  TRANSPOSE  semitones to shift every note by (default 0)\r\n"
    "  STATUS     the status byte that opens the note stream\r\n"
    "             (default 144, Note On of channel 1; 145 is channel 2)\r\n"
    "Numbers may be written as 12, -3, $90, 0x90, %1010 or &17.\r\n";

// Loads up to BUFSIZE bytes, reading until they are in or the file ends, so
// that a pipe loads as the same bytes in a regular file would.
static void load(PFILE f) {
  uint32_t total = 0, got;
  do {
    IOCHECK(plat_read(f, BUF + total, BUFSIZE - total, &got), AT_READ, IN_DRIVER);
    total += got;
  } while (got != 0 && total < BUFSIZE);
  NUMREAD = (uint16_t)total;
}

// Prints every position examined, the matching one included; true when the
// status byte was found before the end of the loaded data.
static bool search(void) {
  MSG m;
  uint8_t byte;
  if (NUMREAD <= POS)
    return false;  // nothing loaded past the header: nothing to examine
  do {
    POS++;
    byte = BYTEAT(POS);
    msg_begin(&m);
    msg_num(&m, POS);
    msg_str(&m, ":");
    msg_num(&m, byte);
    SAY(&m, AT_SEARCH_MSG, IN_DRIVER);
  } while (byte != TRCK && POS != NUMREAD);
  return POS != NUMREAD;
}

void RUN(const ARGS *args) {
  MSG m;
  PFILE midi;

  if (args->n == 0) {
    // Nothing to convert: say how to run it, and wait like every run does,
    // so a console window opened for it stays readable.
    IOCHECK(plat_console(USAGE, sizeof USAGE - 1), AT_USAGE, IN_DRIVER);
    IOCHECK(plat_readline(), AT_USAGE_WAIT, IN_DRIVER);
    plat_exit(2);
  }
  memset(BUF, 0, sizeof BUF);
  NUMREAD = 0;
  POS = 20;
  ELTOLAS = args->v[1][0] != '\0' ? (int16_t)(uint16_t)VALSIGNED(args->v[1]) : 0;
  TRCK = args->v[2][0] != '\0' ? (uint8_t)VALUNSIGNED(args->v[2]) : 144;

  msg_begin(&m);
  msg_str(&m, "Open: ");
  msg_str(&m, args->v[0]);
  SAY(&m, AT_OPEN_MSG, IN_DRIVER);
  IOCHECK(plat_open_input(args->v[0], &midi), AT_OPEN, IN_DRIVER);
  load(midi);

  msg_begin(&m);
  msg_str(&m, "Readed: ");
  msg_num(&m, NUMREAD);
  msg_str(&m, " bytes");
  SAY(&m, AT_READED_MSG, IN_DRIVER);

  msg_begin(&m);
  msg_str(&m, "Transpose: ");
  msg_num(&m, ELTOLAS);
  SAY(&m, AT_TRANSPOSE_MSG, IN_DRIVER);

  IOCHECK(plat_close(midi), AT_CLOSE, IN_DRIVER);

  msg_begin(&m);
  msg_str(&m, "Looking for track (");
  msg_num(&m, TRCK);
  msg_str(&m, ")...");
  SAY(&m, AT_LOOKING_MSG, IN_DRIVER);

  if (search())
    CONVERT();
  else
    SAYLN("TRACK NOT FOUND!", AT_NOT_FOUND_MSG, IN_DRIVER);

  SAYLN("End.", AT_END_MSG, IN_DRIVER);
  IOCHECK(plat_readline(), AT_WAIT, IN_DRIVER);
  plat_exit(0);
}
