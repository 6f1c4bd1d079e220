// An in-memory stand-in for the platform layer, so the program can run
// in-process: input files, the console, the listing and standard input are
// plain strings, and failures can be injected at any operation.
#ifndef MIDIBAS_MEMPLAT_H
#define MIDIBAS_MEMPLAT_H

#include <map>
#include <string>
#include <vector>

#include "platform.h"

struct MemWorld {
  std::map<std::string, std::string> inputs;  // files that can be opened
  unsigned read_chunk = 0;                    // most bytes one read delivers; 0: no limit
  unsigned reads = 0;                         // read requests made on the input
  bool input_open = false;
  std::string opened;  // the input file open now
  size_t offset = 0;   // how far it has been read

  std::string console;                // all console output
  std::vector<std::string> messages;  // each console write, when kept
  bool keep_messages = true;
  unsigned message_count = 0;
  bool stray_line_end = false;  // a write that is not one line ending in CR LF
  unsigned console_attempts = 0;
  int console_fail_at = -1;  // index of the console write attempt that fails
  int console_fail_result = 101;

  bool listing_created = false, listing_open = false, listing_closed = false;
  std::string listing;               // bytes that reached tvcsound.txt
  std::vector<unsigned> blocks;      // the size of each listing write
  int create_result = 0;             // I/O result of creating the listing
  unsigned write_attempts = 0;
  int write_fail_at = -1;  // index of the listing write attempt that fails
  int write_fail_result = 101;

  // I/O results to give instead of success.
  int read_result = 0, close_input_result = 0, close_listing_result = 0, readline_result = 0;

  unsigned readlines = 0;  // lines read from standard input
};

extern MemWorld WORLD;

// Thrown by plat_exit: the program's run is over.
struct Exited {
  int status;
};

// Resets the world to an empty one.
void mem_reset();

// Runs the whole program with the given arguments (not counting the
// program's name), as the POSIX layer would deliver them; returns the exit
// status.
int mem_run(const std::vector<std::string> &args);

#endif
