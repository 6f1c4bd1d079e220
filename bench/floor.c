/* The floor: a program that makes exactly the system calls of one midibas
   run and nothing else. The run's operations, recorded by `record`, are
   built into the program (RECORDING names the file at compile time); it
   replays them: the same open and reads of the input, the same console
   writes one by one, the same listing blocks, the same final read. */
#include <fcntl.h>
#include <signal.h>
#include <stdint.h>
#include <unistd.h>

#include "floor-ops.h"

#define STR2(x) #x
#define STR(x) STR2(x)
__asm__(".section .rodata\n"
        ".global recording\n"
        "recording:\n"
        ".incbin \"" STR(RECORDING) "\"\n"
        ".global recording_end\n"
        "recording_end:\n"
        ".previous\n");
extern const unsigned char recording[], recording_end[];

static unsigned char buf[60001];

int main(int argc, char **argv) {
  const unsigned char *p = recording;
  int input = -1, listing = -1;
  char line[256];
  (void)argc;
  signal(SIGPIPE, SIG_IGN); /* as midibas prepares the process */
  signal(SIGXFSZ, SIG_IGN);
  while (p < recording_end) {
    int op = *p;
    uint32_t len = (uint32_t)p[1] | (uint32_t)p[2] << 8 | (uint32_t)p[3] << 16 | (uint32_t)p[4] << 24;
    p += 5;
    switch (op) {
    case OP_OPEN_INPUT:
      input = open(argv[1], O_RDONLY);
      break;
    case OP_READ:
      if (read(input, buf + (sizeof buf - len), len) < 0)
        return 1;
      break;
    case OP_CLOSE_INPUT:
      close(input);
      break;
    case OP_CONSOLE:
      if (write(1, p, len) != (ssize_t)len)
        return 1;
      p += len;
      break;
    case OP_CREATE:
      listing = open("tvcsound.txt", O_WRONLY | O_CREAT | O_TRUNC, 0666);
      break;
    case OP_WRITE:
      if (write(listing, p, len) != (ssize_t)len)
        return 1;
      p += len;
      break;
    case OP_CLOSE_LISTING:
      close(listing);
      break;
    case OP_READLINE:
      if (read(0, line, sizeof line) < 0)
        return 1;
      break;
    case OP_EXIT:
      _exit((int)len);
    }
  }
  return 0;
}
