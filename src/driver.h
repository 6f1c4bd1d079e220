// The driver: arguments, the one load of the input, the search for the
// status byte, the hand-over to the converter, and the end of the run.
#ifndef MIDIBAS_DRIVER_H
#define MIDIBAS_DRIVER_H

#include <stdint.h>

#include "platform.h"

enum : unsigned { BUFSIZE = 60001 };

// The input image: the first bytes of the input file, zero beyond them.
extern uint8_t BUF[BUFSIZE];
extern uint16_t NUMREAD;  // bytes loaded, 0 to 60001
extern uint16_t POS;      // read position; the status byte after the search

extern int16_t ELTOLAS;   // transpose in semitones
extern uint8_t TRCK;      // the status byte that opens the note stream

// The byte at position i; any position outside BUF reads as 0.
uint8_t BYTEAT(long i);

// The number syntax of the transpose and status arguments. Text that breaks
// it, or a value out of range, gives 0.
int32_t VALSIGNED(const char *s);     // -2147483648..2147483647, or 32 bits with a base prefix
uint32_t VALUNSIGNED(const char *s);  // 0..4294967295, no "-"

// The whole run, ending the process with its exit status.
[[noreturn]] void RUN(const ARGS *args);

#endif
