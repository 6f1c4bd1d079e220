// A libFuzzer target that drives whole runs in-process over the in-memory
// platform and checks what must hold for every input.
//
// Input layout: one flags byte, the transpose text up to a 0 byte, the
// status text up to a 0 byte, then the file's content.
//   flags & 3      number of arguments: 0 (usage), 1, 2 or 3
//   flags & 0xFC == 0xA4
//                  a length byte L follows the flags, and the file is
//                  stretched to 59995 + L % 8 bytes by repeating its content,
//                  so that streams run into the end of the buffer (a value
//                  mutations seldom make: such runs are a thousand times
//                  longer)
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <string_view>
#include <vector>

#include "memplat.h"
#include "routine.h"
#include "table.h"


#define CHECK(cond)                                                                  \
  do {                                                                               \
    if (!(cond)) {                                                                   \
      fprintf(stderr, "broken property at %s:%d: %s\n", __FILE__, __LINE__, #cond); \
      abort();                                                                       \
    }                                                                                \
  } while (0)

static std::string take_text(const uint8_t *&p, const uint8_t *end) {
  std::string s;
  while (p < end && *p != 0)
    s += (char)*p++;
  if (p < end)
    p++;
  return s;
}

// Reads the lines of a text one at a time, without copying.
struct Lines {
  std::string_view rest;
  bool next(std::string_view *line) {
    size_t e = rest.find("\r\n");
    if (e == std::string_view::npos)
      return false;
    *line = rest.substr(0, e);
    rest.remove_prefix(e + 2);
    return true;
  }
};

// Reads a decimal number in its shortest form at the front of s, moving
// past it.
static bool number(std::string_view *s, unsigned long *v) {
  size_t n = 0;
  *v = 0;
  while (n < s->size() && n < 9 && (*s)[n] >= '0' && (*s)[n] <= '9')
    *v = *v * 10 + (unsigned long)((*s)[n++] - '0');
  bool shortest = n == 1 || (n > 1 && (*s)[0] != '0');
  s->remove_prefix(n);
  return shortest;
}

static bool skip(std::string_view *s, std::string_view what) {
  if (s->substr(0, what.size()) != what)
    return false;
  s->remove_prefix(what.size());
  return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0)
    return 0;
  const uint8_t *p = data + 1, *end = data + size;
  unsigned flags = data[0];
  size_t stretch = 0;
  if ((flags & 0xFC) == 0xA4 && p < end)
    stretch = 59995 + *p++ % 8;
  std::string transpose = take_text(p, end), status = take_text(p, end);
  std::string file((const char *)p, (size_t)(end - p));
  if (stretch != 0 && !file.empty()) {
    while (file.size() < stretch)
      file += file.substr(0, stretch - file.size());
  }

  std::vector<std::string> args;
  unsigned n = flags & 3;
  if (n >= 1)
    args.push_back("f.mid");
  if (n >= 2)
    args.push_back(transpose);
  if (n >= 3)
    args.push_back(status);
  mem_reset();
  WORLD.keep_messages = false;
  WORLD.inputs["f.mid"] = file;
  int rc = mem_run(args);

  const std::string &con = WORLD.console;
  if (n == 0) {
    CHECK(rc == 2 && con.compare(0, 14, "Usage: midibas") == 0 && !WORLD.listing_created);
    return 0;
  }
  // Console: each write one line ending in CR LF.
  CHECK(!WORLD.stray_line_end);
  CHECK(rc == 0);
  Lines lines{con};
  std::string_view line;
  unsigned long v;
  size_t loaded = file.size() < 60001 ? file.size() : 60001;
  CHECK(lines.next(&line) && line == "Open: f.mid");
  CHECK(lines.next(&line) && skip(&line, "Readed: ") && number(&line, &v) && v == loaded &&
        line == " bytes");
  CHECK(lines.next(&line) && skip(&line, "Transpose: "));
  CHECK(lines.next(&line) && skip(&line, "Looking for track ("));

  // The search counts up from 21 by one, showing each byte.
  unsigned long pos = 21;
  for (; lines.next(&line) && line != "TRACK NOT FOUND!" && line != "Creating data..."; pos++) {
    CHECK(number(&line, &v) && v == pos && pos <= loaded);
    CHECK(skip(&line, ":") && number(&line, &v) && line.empty());
    CHECK(v == (pos < loaded ? (uint8_t)file[pos] : 0));
  }
  if (line == "TRACK NOT FOUND!") {
    CHECK(lines.next(&line) && line == "End." && lines.rest.empty());
    CHECK(!WORLD.listing_created);
    return 0;
  }
  CHECK(line == "Creating data...");

  // The pairs the trace announces, in order: pitch and delta byte.
  std::vector<std::pair<unsigned, unsigned>> want;
  while (lines.next(&line) && line != "End.") {
    unsigned long note, velocity, delta;
    CHECK(number(&line, &note) && note < 256 && skip(&line, ":"));
    CHECK(number(&line, &velocity) && velocity < 256 && skip(&line, ":"));
    CHECK(number(&line, &delta) && delta < 256 && skip(&line, "/"));
    if (line == "Skipped")
      continue;
    CHECK(delta > 0);
    unsigned long pitch;
    if (line == "4095") {
      CHECK(velocity == 0);
      pitch = 4095;
    } else {
      CHECK(velocity != 0);
      size_t dash = line.find('-');
      CHECK(dash != std::string_view::npos);
      std::string_view name = line.substr(0, dash), rest = line.substr(dash + 1);
      CHECK(number(&rest, &pitch) && rest.empty());
      unsigned k = 0;
      while (k < NOTES && SOUND[k] != pitch)
        k++;
      CHECK(k < NOTES && name == HANGJEGY[k]);
    }
    want.push_back({(unsigned)pitch, (unsigned)delta});
  }
  CHECK(line == "End." && lines.rest.empty());

  // The listing: the routine, DATA lines 300, 310, ... of 19 pairs, the
  // last with fewer, closed by -1,-1; its pairs are exactly the converted
  // events.
  CHECK(WORLD.listing_closed);
  const std::string &l = WORLD.listing;
  CHECK(l.compare(0, sizeof ROUTINE - 1, ROUTINE) == 0);
  Lines listing{std::string_view(l).substr(sizeof ROUTINE - 1)};
  size_t k = 0;
  for (unsigned long num = 300;; num += 10) {
    CHECK(listing.next(&line) && number(&line, &v) && v == num && skip(&line, " data "));
    size_t pairs = 0;
    for (; k < want.size() && pairs < 19; k++, pairs++) {
      unsigned long dur;
      CHECK(number(&line, &v) && v == want[k].first && skip(&line, ","));
      CHECK(number(&line, &dur));
      // 0x81 takes a second byte, which the trace does not show.
      if (want[k].second == 129)
        CHECK(dur >= 129 / 5 + 1 && dur <= (129 + 255) / 5 + 1);
      else
        CHECK(dur == want[k].second / 5 + 1);
      if (pairs < 18)
        CHECK(skip(&line, ","));
    }
    if (pairs < 19)
      break;
    CHECK(line.empty());
  }
  CHECK(line == "-1,-1" && listing.rest.empty());
  return 0;
}
