// mktune: writes the MIDI files midibas is shown and measured with.
//
//   mktune overview FILE       the 64-byte walk-through file of the README
//   mktune ode FILE            "Ode to Joy" (Beethoven), twice, the second
//                              time an octave higher: a few hundred events
//   mktune bench-search FILE   60001 bytes with no Note On status after the
//                              header: the longest search
//   mktune bench-convert FILE  60001 bytes, the status at position 21 and
//                              about 20000 note events after it
//
// The tunes are standard MIDI files (format 0, one track) whose notes are a
// running-status Note On stream on channel 1, each note followed by its
// release, with one-byte delta times: the stream midibas reads.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

static void put32(std::string &s, unsigned v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    s += (char)((v >> shift) & 0xFF);
}

// A file of one track: the header chunk, the track chunk's header, then the
// track's bytes.
static std::string midifile(const std::string &track, int ticks) {
  std::string s("MThd\0\0\0\x06\0\0\0\x01\0", 13);  // format 0, 1 track
  s += (char)ticks;                                      // ticks a quarter note
  s += "MTrk";
  put32(s, (unsigned)track.size());
  return s + track;
}

static std::string overview() {
  std::string t("\x00\xFF\x51\x03\x07\xA1\x20"      // tempo: 500000 us a quarter
                "\x00\xFF\x58\x04\x04\x02\x18\x08"  // time signature 4/4
                "\x00\x90"                          // Note On, channel 1
                "\x3C\x40\x30" "\x3C\x00\x10" "\x7F\x40\x20" "\x40\x40\x00"
                "\x43\x40\x81\x20" "\x40\x00\x0C" "\x43\x00\x00"
                "\xFF\x2F\x00",                     // End of Track
                42);
  return midifile(t, 96);
}

static std::string ode() {
  // Note numbers and lengths in eighths (E4 = 64).
  static const int theme[][2] = {
      {64, 2}, {64, 2}, {65, 2}, {67, 2}, {67, 2}, {65, 2}, {64, 2}, {62, 2},
      {60, 2}, {60, 2}, {62, 2}, {64, 2}, {64, 3}, {62, 1}, {62, 4},
      {64, 2}, {64, 2}, {65, 2}, {67, 2}, {67, 2}, {65, 2}, {64, 2}, {62, 2},
      {60, 2}, {60, 2}, {62, 2}, {64, 2}, {62, 3}, {60, 1}, {60, 4},
      {62, 2}, {62, 2}, {64, 2}, {60, 2}, {62, 2}, {64, 1}, {65, 1}, {64, 2}, {60, 2},
      {62, 2}, {64, 1}, {65, 1}, {64, 2}, {62, 2}, {60, 2}, {62, 2}, {55, 4},
      {64, 2}, {64, 2}, {65, 2}, {67, 2}, {67, 2}, {65, 2}, {64, 2}, {62, 2},
      {60, 2}, {60, 2}, {62, 2}, {64, 2}, {62, 3}, {60, 1}, {60, 4},
  };
  std::string t("\x00\xFF\x51\x03\x07\xA1\x20" "\x00\x90", 9);
  for (int octave = 0; octave < 2; octave++) {
    for (const auto &n : theme) {
      // Every delta stays below 128, a one-byte delta time.
      int eighth = 24, length = n[1] * eighth;
      t += (char)(n[0] + 12 * octave);
      t += (char)100;
      t += (char)(length - 6);  // sounding time, then a short gap
      t += (char)(n[0] + 12 * octave);
      t += (char)0;
      t += (char)6;
    }
  }
  t += std::string("\xFF\x2F\x00", 3);
  return midifile(t, 48);
}

static std::string bench(bool convert) {
  std::string s(60001, '\0');
  memcpy(&s[0], "MThd", 4);
  for (size_t i = 21; i < s.size(); i++)
    s[i] = (char)(0x20 + i % 0x50);  // never 0x90
  if (convert) {
    s[21] = (char)0x90;
    for (size_t i = 22, k = 0; i + 2 < s.size(); i += 3, k++) {
      s[i] = (char)(31 + k % 76);
      s[i + 1] = (char)(k % 2 ? 0 : 100);
      s[i + 2] = (char)(1 + k % 120);
    }
  }
  return s;
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: mktune overview|ode|bench-search|bench-convert FILE\n");
    return 2;
  }
  std::string what = argv[1], data;
  if (what == "overview")
    data = overview();
  else if (what == "ode")
    data = ode();
  else if (what == "bench-search")
    data = bench(false);
  else if (what == "bench-convert")
    data = bench(true);
  else {
    fprintf(stderr, "mktune: unknown file kind '%s'\n", argv[1]);
    return 2;
  }
  FILE *f = fopen(argv[2], "wb");
  if (f == nullptr || fwrite(data.data(), 1, data.size(), f) != data.size() || fclose(f) != 0) {
    perror(argv[2]);
    return 1;
  }
  return 0;
}
