#include <string.h>

#include "driver.h"
#include "memplat.h"

MemWorld WORLD;

static const PFILE INPUT = 1, LISTING = 2;

void mem_reset() { WORLD = MemWorld(); }

int mem_run(const std::vector<std::string> &args) {
  static ARGS a;
  a.n = (int)args.size();
  for (int i = 0; i < 3; i++) {
    std::string s = i < (int)args.size() ? args[i].substr(0, 255) : "";
    memcpy(a.v[i], s.c_str(), s.size() + 1);
  }
  try {
    RUN(&a);
  } catch (const Exited &e) {
    return e.status;
  }
}

void plat_start(int, char **, ARGS *) {}

int plat_open_input(const char *path, PFILE *f) {
  if (WORLD.inputs.count(path) == 0)
    return 2;
  WORLD.input_open = true;
  WORLD.opened = path;
  WORLD.offset = 0;
  *f = INPUT;
  return 0;
}

int plat_read(PFILE f, void *buf, uint32_t len, uint32_t *got) {
  if (f != INPUT || !WORLD.input_open)
    return 6;
  const std::string &data = WORLD.inputs[WORLD.opened];
  WORLD.reads++;
  if (WORLD.read_result != 0)
    return WORLD.read_result;
  size_t n = data.size() - WORLD.offset;
  if (n > len)
    n = len;
  if (WORLD.read_chunk != 0 && n > WORLD.read_chunk)
    n = WORLD.read_chunk;
  memcpy(buf, data.data() + WORLD.offset, n);
  WORLD.offset += n;
  *got = (uint32_t)n;
  return 0;
}

int plat_create(const char *path, PFILE *f) {
  if (strcmp(path, "tvcsound.txt") != 0)
    return 3;
  if (WORLD.create_result != 0)
    return WORLD.create_result;
  WORLD.listing_created = WORLD.listing_open = true;
  WORLD.listing.clear();
  *f = LISTING;
  return 0;
}

int plat_write(PFILE f, const void *buf, uint32_t len) {
  if (f != LISTING || !WORLD.listing_open)
    return 6;
  if ((int)WORLD.write_attempts++ == WORLD.write_fail_at)
    return WORLD.write_fail_result;
  WORLD.blocks.push_back(len);
  WORLD.listing.append((const char *)buf, len);
  return 0;
}

int plat_close(PFILE f) {
  if (f == INPUT && WORLD.input_open) {
    if (WORLD.close_input_result != 0)
      return WORLD.close_input_result;
    WORLD.input_open = false;
    return 0;
  }
  if (f == LISTING && WORLD.listing_open) {
    if (WORLD.close_listing_result != 0)
      return WORLD.close_listing_result;
    WORLD.listing_open = false;
    WORLD.listing_closed = true;
    return 0;
  }
  return 6;
}

int plat_console(const void *buf, uint32_t len) {
  if ((int)WORLD.console_attempts++ == WORLD.console_fail_at)
    return WORLD.console_fail_result;
  const char *b = (const char *)buf;
  if (len < 2 || b[len - 2] != '\r' || b[len - 1] != '\n' || memchr(b, '\n', len - 1) != nullptr ||
      memchr(b, '\r', len - 2) != nullptr)
    WORLD.stray_line_end = true;
  WORLD.message_count++;
  if (WORLD.keep_messages)
    WORLD.messages.emplace_back(b, len);
  WORLD.console.append(b, len);
  return 0;
}

int plat_readline(void) {
  WORLD.readlines++;
  return WORLD.readline_result;
}

void plat_exit(int status) { throw Exited{status}; }
