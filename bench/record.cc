// record: runs midibas's own code in-process on an input and writes down
// every system operation the run makes, in order, for the floor program to
// replay. A platform layer that only records.
//
//   record INPUT RECORDING
//
// Each record is one operation byte, a 4-byte little-endian length, and for
// console and listing writes the bytes written.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "driver.h"
#include "floor-ops.h"
#include "platform.h"

static std::string REC;
static std::string INPUT;
static size_t OFFSET;

static void op(int kind, const void *bytes, uint32_t len, bool keep) {
  REC += (char)kind;
  for (int i = 0; i < 4; i++)
    REC += (char)((len >> (8 * i)) & 0xFF);
  if (keep)
    REC.append((const char *)bytes, len);
}

void plat_start(int, char **, ARGS *) {}

int plat_open_input(const char *, PFILE *f) {
  op(OP_OPEN_INPUT, nullptr, 0, false);
  *f = 1;
  return 0;
}

int plat_read(PFILE, void *buf, uint32_t len, uint32_t *got) {
  size_t n = INPUT.size() - OFFSET < len ? INPUT.size() - OFFSET : len;
  memcpy(buf, INPUT.data() + OFFSET, n);
  OFFSET += n;
  *got = (uint32_t)n;
  op(OP_READ, nullptr, len, false);
  return 0;
}

int plat_create(const char *, PFILE *f) {
  op(OP_CREATE, nullptr, 0, false);
  *f = 2;
  return 0;
}

int plat_write(PFILE, const void *buf, uint32_t len) {
  op(OP_WRITE, buf, len, true);
  return 0;
}

int plat_close(PFILE f) {
  op(f == 1 ? OP_CLOSE_INPUT : OP_CLOSE_LISTING, nullptr, 0, false);
  return 0;
}

int plat_console(const void *buf, uint32_t len) {
  op(OP_CONSOLE, buf, len, true);
  return 0;
}

int plat_readline(void) {
  op(OP_READLINE, nullptr, 0, false);
  return 0;
}

static const char *OUT;

void plat_exit(int status) {
  op(OP_EXIT, nullptr, (uint32_t)status, false);
  FILE *f = fopen(OUT, "wb");
  if (f == nullptr || fwrite(REC.data(), 1, REC.size(), f) != REC.size() || fclose(f) != 0) {
    perror(OUT);
    exit(1);
  }
  exit(0);
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: record INPUT RECORDING\n");
    return 2;
  }
  FILE *f = fopen(argv[1], "rb");
  if (f == nullptr) {
    perror(argv[1]);
    return 1;
  }
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0)
    INPUT.append(buf, n);
  fclose(f);
  OUT = argv[2];
  static ARGS args;
  args.n = 1;
  snprintf(args.v[0], sizeof args.v[0], "%s", argv[1]);
  RUN(&args);
}
