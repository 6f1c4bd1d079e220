#include "console.h"

#include "platform.h"

unsigned NUMTXT(char *dst, int32_t v) {
  static const char PAIRS[] = "00010203040506070809101112131415161718192021222324"
                              "25262728293031323334353637383940414243444546474849"
                              "50515253545556575859606162636465666768697071727374"
                              "75767778798081828384858687888990919293949596979899";
  // Work on the magnitude as unsigned, so the most negative value has one.
  uint32_t mag = v < 0 ? 0U - (uint32_t)v : (uint32_t)v;
  unsigned len = 1;
  for (uint32_t t = mag; t >= 10; t /= 10)
    len++;
  if (v < 0)
    *dst++ = '-';
  // From the last digit back, two at a time.
  char *p = dst + len;
  for (; mag >= 100; mag /= 100) {
    p -= 2;
    p[0] = PAIRS[2 * (mag % 100)];
    p[1] = PAIRS[2 * (mag % 100) + 1];
  }
  if (mag >= 10) {
    p[-2] = PAIRS[2 * mag];
    p[-1] = PAIRS[2 * mag + 1];
  } else {
    p[-1] = (char)('0' + mag);
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
