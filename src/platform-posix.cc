// The platform layer on POSIX systems.
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform.h"

// The I/O result for a failed call, from errno. A missing file is told from
// a missing folder by looking at the folder part of the path.
static int ioresult(int err, const char *path) {
  switch (err) {
  case ENOENT: {
    if (path == nullptr)
      return 2;
    const char *slash = strrchr(path, '/');
    if (slash == nullptr)
      return 2;
    char dir[256];
    size_t n = (size_t)(slash - path);
    if (n == 0)
      return 2;  // the root folder always exists
    if (n >= sizeof dir)
      n = sizeof dir - 1;
    memcpy(dir, path, n);
    dir[n] = '\0';
    struct stat st;
    return stat(dir, &st) == 0 && S_ISDIR(st.st_mode) ? 2 : 3;
  }
  case ENOTDIR:
    return 3;
  case EACCES:
  case EPERM:
  case EISDIR:
  case EROFS:
  case ETXTBSY:
    return 5;
  case ENOSPC:
  case EFBIG:
#ifdef EDQUOT
  case EDQUOT:
#endif
    return 101;
  default:
    return err != 0 ? err : 101;
  }
}

static void take_arg(char *dst, const char *src) {
  size_t n = strlen(src);
  if (n > 255)
    n = 255;
  memcpy(dst, src, n);
  dst[n] = '\0';
}

void plat_start(int argc, char **argv, ARGS *args) {
  signal(SIGPIPE, SIG_IGN);
  signal(SIGXFSZ, SIG_IGN);
  args->n = argc > 1 ? argc - 1 : 0;
  for (int i = 0; i < 3; i++)
    take_arg(args->v[i], i + 1 < argc ? argv[i + 1] : "");
}

int plat_open_input(const char *path, PFILE *f) {
  int fd = open(path, O_RDONLY);
  if (fd < 0)
    return ioresult(errno, path);
  *f = fd;
  return 0;
}

int plat_read(PFILE f, void *buf, uint32_t len, uint32_t *got) {
  ssize_t r = read((int)f, buf, len);
  if (r < 0) {
    *got = 0;
    return ioresult(errno, nullptr);
  }
  *got = (uint32_t)r;
  return 0;
}

int plat_create(const char *path, PFILE *f) {
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0)
    return ioresult(errno, path);
  *f = fd;
  return 0;
}

static int write_block(int fd, const void *buf, uint32_t len) {
  ssize_t r = write(fd, buf, len);
  if (r < 0)
    return ioresult(errno, nullptr);
  return (uint32_t)r == len ? 0 : 101;
}

int plat_write(PFILE f, const void *buf, uint32_t len) { return write_block((int)f, buf, len); }

int plat_close(PFILE f) { return close((int)f) == 0 ? 0 : ioresult(errno, nullptr); }

int plat_console(const void *buf, uint32_t len) { return write_block(1, buf, len); }

int plat_readline(void) {
  char c[256];
  for (;;) {
    ssize_t r = read(0, c, sizeof c);
    if (r < 0)
      return errno == EPIPE ? 0 : ioresult(errno, nullptr);
    if (r == 0 || memchr(c, '\n', (size_t)r) != nullptr)
      return 0;
  }
}

void plat_exit(int status) { _exit(status); }
