// The thin layer between midibas and the operating system.
//
// Every file, console and process operation of the program goes through
// these functions, and nothing above them knows which system it runs on.
// Each operation returns its I/O result: 0 on success, otherwise the
// program's number for the failure:
//     2    file not found
//     3    folder not found
//     5    access denied (also a folder where a file was expected)
//   101    disk full, file too large, or a write that stored fewer bytes
//   other  the system's own error number
// The caller tests the result at once (see IOCHECK in console.h).
#ifndef MIDIBAS_PLATFORM_H
#define MIDIBAS_PLATFORM_H

#include <stdint.h>

// An open file, as the system knows it.
typedef intptr_t PFILE;

// The command-line arguments, kept in fixed storage: the number the user
// gave and the first three of them, each cut to its first 255 characters.
struct ARGS {
  int n;
  char v[3][256];
};

// Takes the arguments as the system delivers them (argc/argv on POSIX, the
// raw command line on Windows) and prepares the process: a closed pipe or a
// file-size limit must come back as an I/O result, never as a signal.
void plat_start(int argc, char **argv, ARGS *args);

// Opens an existing file for reading, letting others only read it.
int plat_open_input(const char *path, PFILE *f);

// One read request of up to len bytes; *got is 0 at the end of the file.
int plat_read(PFILE f, void *buf, uint32_t len, uint32_t *got);

// Creates a file for writing, or cuts an existing one to zero length;
// others may read it meanwhile.
int plat_create(const char *path, PFILE *f);

// Writes len bytes in one request; storing fewer is a failure (101).
int plat_write(PFILE f, const void *buf, uint32_t len);

int plat_close(PFILE f);

// Writes one console message to standard output in one request, bytes
// unconverted.
int plat_console(const void *buf, uint32_t len);

// Reads and discards one line of standard input. The end of the data or a
// closed pipe ends the line and is no failure.
int plat_readline(void);

// Ends the process with the given exit status. Nothing of the program's
// own runs after it.
[[noreturn]] void plat_exit(int status);

#endif
