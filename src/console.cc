#include "console.h"

#include "platform.h"

unsigned NUMTXT(char *dst, long v) {
  // Work on the magnitude as unsigned, so the most negative value has one.
  unsigned long mag = v < 0 ? 0UL - (unsigned long)v : (unsigned long)v;
  unsigned len = 1;
  for (unsigned long t = mag; t >= 10; t /= 10)
    len++;
  if (v < 0)
    *dst++ = '-';
  char *p = dst + len;
  do {
    *--p = (char)('0' + mag % 10);
    mag /= 10;
  } while (mag != 0);
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
