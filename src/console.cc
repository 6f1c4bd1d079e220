#include "console.h"

#include "platform.h"

unsigned NUMTXT(char *dst, long v) {
  static const char PAIRS[] = "00010203040506070809101112131415161718192021222324"
                              "25262728293031323334353637383940414243444546474849"
                              "50515253545556575859606162636465666768697071727374"
                              "75767778798081828384858687888990919293949596979899";
  // Work on the magnitude as unsigned, so the most negative value has one.
  unsigned long mag = v < 0 ? 0UL - (unsigned long)v : (unsigned long)v;
  unsigned len = 1;
  unsigned long t = mag;
  for (; t >= 10000; t /= 10000)
    len += 4;
  len += (t >= 10) + (t >= 100) + (t >= 1000);
  if (v < 0)
    *dst++ = '-';
  // Two digits at a time, from the end.
  char *p = dst + len;
  while (mag >= 100) {
    const char *d = PAIRS + 2 * (mag % 100);
    mag /= 100;
    *--p = d[1];
    *--p = d[0];
  }
  if (mag >= 10) {
    *--p = PAIRS[2 * mag + 1];
    *--p = PAIRS[2 * mag];
  } else {
    *--p = (char)('0' + mag);
  }
  return len + (v < 0);
}

void SAY(MSG *m, uint32_t addr, CHAIN chain) {
  m->b[m->n++] = '\r';
  m->b[m->n++] = '\n';
  IOCHECK(plat_console(m->b, m->n), addr, chain);
}

void SAYLN(const char *s, uint32_t addr, CHAIN chain) {
  MSG m;
  msg_begin(&m);
  msg_str(&m, s);
  SAY(&m, addr, chain);
}

void IOCHECK(int res, uint32_t addr, CHAIN chain) {
  if (res != 0)
    RUNERROR(res, addr, chain);
}

static void hex8(MSG *m, uint32_t v) {
  static const char digits[] = "0123456789ABCDEF";
  m->b[m->n++] = '$';
  for (int shift = 28; shift >= 0; shift -= 4)
    m->b[m->n++] = digits[(v >> shift) & 15];
}

static void addr_line(MSG *m, uint32_t addr) {
  msg_str(m, "  ");
  hex8(m, addr);
  msg_str(m, "\r\n");
}

void RUNERROR(int res, uint32_t addr, CHAIN chain) {
  MSG m;
  msg_begin(&m);
  msg_str(&m, "Runtime error ");
  msg_num(&m, res);
  msg_str(&m, " at ");
  hex8(&m, addr);
  msg_str(&m, "\r\n");
  addr_line(&m, addr);
  if (chain == IN_CONVERT)
    addr_line(&m, AT_CALL_CONVERT);
  addr_line(&m, AT_ENTRY);
  msg_str(&m, "\r\n");
  // The report is the last word; if the console fails too, there is no one
  // left to tell.
  (void)plat_console(m.b, m.n);
  plat_exit(res);
}
