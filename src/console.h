// Console messages and the run-time error report.
//
// A message is built in a fixed buffer and handed to the system in one
// write, with its CR LF line end, as soon as it is complete. Every I/O
// result is tested where the operation is made: a non-zero one ends the run
// at once with the run-time error report on standard output and the result
// as the exit status.
#ifndef MIDIBAS_CONSOLE_H
#define MIDIBAS_CONSOLE_H

#include <stdint.h>

// The routine an I/O operation stands in, which fixes the chain of callers
// that the report lists after the operation's own address.
enum CHAIN { IN_DRIVER, IN_CONVERT };

// Code addresses shown for the callers: the program's entry, which calls the
// driver, and the driver's call of the converter.
enum : uint32_t {
  AT_ENTRY = 0x0040A1C6,
  AT_CALL_CONVERT = 0x004013F2,
};

struct MSG {
  char b[320];  // the longest message is "Open: ", 255 characters, CR LF
  unsigned n;
};

// Decimal text of v in its shortest form into dst; returns its length
// (at most 11).
unsigned NUMTXT(char *dst, int32_t v);

// Building a message. The text is cut where it would not leave room for
// the line end; the callers' texts are bounded well below that.
inline void msg_begin(MSG *m) { m->n = 0; }

inline void msg_str(MSG *m, const char *s) {
  while (*s != '\0' && m->n < sizeof m->b - 2)
    m->b[m->n++] = *s++;
}

inline void msg_num(MSG *m, int32_t v) {
  if (m->n + 11 <= sizeof m->b - 2)
    m->n += NUMTXT(m->b + m->n, v);
}

// Ends the message with CR LF and writes it; the write's result is tested,
// reported as the operation at addr.
void SAY(MSG *m, uint32_t addr, CHAIN chain);

// Writes one line of text as a whole message.
void SAYLN(const char *s, uint32_t addr, CHAIN chain);

// Ends the run with the report when res is not 0.
void IOCHECK(int res, uint32_t addr, CHAIN chain);

[[noreturn]] void RUNERROR(int res, uint32_t addr, CHAIN chain);

#endif
