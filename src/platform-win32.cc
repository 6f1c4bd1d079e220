// The platform layer on 32-bit Windows, straight on kernel32: no C runtime
// stands between the program and its files or console.
#include <windows.h>

#include "cmdline.h"
#include "platform.h"

// The I/O result for a failed call, from GetLastError.
static int ioresult(DWORD err) {
  switch (err) {
  case ERROR_SHARING_VIOLATION:
    return 5;
  case ERROR_HANDLE_DISK_FULL:
  case ERROR_DISK_FULL:
    return 101;
  default:
    if (err >= 19 && err <= 31)
      return (int)err + 131;  // 150 to 162: the device errors
    return err != 0 ? (int)err : 101;
  }
}

void plat_start(int, char **, ARGS *args) { SPLITCMD(GetCommandLineA(), args); }

int plat_open_input(const char *path, PFILE *f) {
  // An empty name names no file; the system would call it a missing path.
  if (path[0] == '\0')
    return ERROR_FILE_NOT_FOUND;
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return ioresult(GetLastError());
  *f = (PFILE)h;
  return 0;
}

int plat_read(PFILE f, void *buf, uint32_t len, uint32_t *got) {
  DWORD n = 0;
  if (!ReadFile((HANDLE)f, buf, len, &n, nullptr)) {
    *got = 0;
    DWORD err = GetLastError();
    return err == ERROR_BROKEN_PIPE ? 0 : ioresult(err);
  }
  *got = n;
  return 0;
}

int plat_create(const char *path, PFILE *f) {
  HANDLE h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return ioresult(GetLastError());
  *f = (PFILE)h;
  return 0;
}

static int write_block(HANDLE h, const void *buf, uint32_t len) {
  DWORD n = 0;
  if (!WriteFile(h, buf, len, &n, nullptr))
    return ioresult(GetLastError());
  return n == len ? 0 : 101;
}

int plat_write(PFILE f, const void *buf, uint32_t len) { return write_block((HANDLE)f, buf, len); }

int plat_close(PFILE f) { return CloseHandle((HANDLE)f) ? 0 : ioresult(GetLastError()); }

int plat_console(const void *buf, uint32_t len) {
  return write_block(GetStdHandle(STD_OUTPUT_HANDLE), buf, len);
}

int plat_readline(void) {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  char c[256];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(in, c, sizeof c, &n, nullptr)) {
      DWORD err = GetLastError();
      return err == ERROR_BROKEN_PIPE || err == ERROR_HANDLE_EOF ? 0 : ioresult(err);
    }
    if (n == 0)
      return 0;
    for (DWORD i = 0; i < n; i++)
      if (c[i] == '\n')
        return 0;
  }
}

void plat_exit(int status) { ExitProcess((UINT)status); }
