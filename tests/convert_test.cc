// The note-stream converter, against the in-memory platform.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "convert.h"
#include "driver.h"
#include "memplat.h"

struct Result {
  std::vector<std::string> trace;  // console lines after "Creating data..."
  std::string pairs;               // the DATA items before -1,-1, comma-joined
};

// Loads `status, stream...` at position at, with numread bytes loaded
// (default: all of them), and converts.
static Result convert(const std::vector<int> &stream, int eltolas = 0, long at = 21,
                      long numread = -1) {
  mem_reset();
  memset(BUF, 0, sizeof BUF);
  std::vector<int> bytes = {0x90};
  bytes.insert(bytes.end(), stream.begin(), stream.end());
  if (numread < 0)
    numread = at + (long)bytes.size();
  for (size_t i = 0; i < bytes.size() && at + (long)i < numread; i++)
    BUF[at + i] = (uint8_t)bytes[i];
  NUMREAD = (uint16_t)numread;
  POS = (uint16_t)at;
  ELTOLAS = (int16_t)eltolas;
  CONVERT();

  Result r;
  std::string con = WORLD.console;
  EXPECT_EQ(con.substr(0, 18), "Creating data...\r\n");
  for (size_t p = 18, e; (e = con.find("\r\n", p)) != std::string::npos; p = e + 2)
    r.trace.push_back(con.substr(p, e - p));
  const std::string &l = WORLD.listing;
  size_t start = l.find("\r\n300 data ") + 11, end = l.rfind("-1,-1\r\n");
  for (size_t i = start; i < end; i++) {
    if (l.compare(i, 2, "\r\n") == 0) {
      i = l.find(" data ", i) + 5;  // a new DATA line continues the items
      r.pairs += ',';
    } else {
      r.pairs += l[i];
    }
  }
  if (!r.pairs.empty() && r.pairs.back() == ',')
    r.pairs.pop_back();
  EXPECT_TRUE(WORLD.listing_closed);
  return r;
}

TEST(Convert, Events) {
  struct Case {
    const char *what;
    std::vector<int> stream;
    int eltolas;
    std::vector<std::string> trace;
    std::string pairs;
  } cases[] = {
      {"note", {0x3C, 0x40, 0x30}, 0, {"60:64:48/C3-3349"}, "3349,10"},
      {"release", {0x3C, 0x00, 25}, 0, {"60:0:25/4095"}, "4095,6"},
      {"delta 0 is skipped whatever the note",
       {0x3C, 0x40, 0, 0x3C, 0x00, 0, 0x14, 0x40, 0},
       0,
       {"60:64:0/Skipped", "60:0:0/Skipped", "20:64:0/Skipped"},
       ""},
      {"chord: only the last note plays",
       {0x3C, 0x40, 0, 0x40, 0x40, 0, 0x43, 0x40, 10},
       0,
       {"60:64:0/Skipped", "64:64:0/Skipped", "67:64:10/G3-3598"},
       "3598,3"},
      {"0x81 takes the next byte, added to 129",
       {0x3C, 0x40, 0x81, 0x00, 0x3E, 0x40, 0x10},
       0,
       {"60:64:129/C3-3349", "62:64:16/D3-3431"},
       "3349,26,3431,4"},
      {"0x81 0xFF is the longest",
       {0x3C, 0x40, 0x81, 0xFF},
       0,
       {"60:64:129/C3-3349"},
       "3349,77"},
      {"0x82 is a whole delta; the next byte is a note",
       {0x3C, 0x40, 0x82, 0x40, 0x40, 0x10},
       0,
       {"60:64:130/C3-3349", "64:64:16/E3-3503"},
       "3349,27,3503,4"},
      {"0x80 and 0xFF are whole deltas",
       {0x3C, 0x40, 0x80, 0x3C, 0x40, 0xFF},
       0,
       {"60:64:128/C3-3349", "60:64:255/C3-3349"},
       "3349,26,3349,52"},
      {"durations by fifths", {0x3C, 0x40, 4, 0x3C, 0x40, 5, 0x3C, 0x40, 9}, 0,
       {"60:64:4/C3-3349", "60:64:5/C3-3349", "60:64:9/C3-3349"}, "3349,1,3349,2,3349,2"},
      {"the table's edges at transpose 0",
       {30, 64, 1, 31, 64, 1, 106, 64, 1, 107, 64, 1},
       0,
       {"30:64:1/Skipped", "31:64:1/G0-110", "106:64:1/A#6-4044", "107:64:1/Skipped"},
       "110,1,4044,1"},
      {"a skipped note's release is skipped", {30, 0, 8, 107, 0, 8}, 0,
       {"30:0:8/Skipped", "107:0:8/Skipped"}, ""},
      {"transpose +2", {28, 64, 1, 29, 64, 1, 104, 64, 1, 105, 64, 1}, 2,
       {"28:64:1/Skipped", "29:64:1/G0-110", "104:64:1/A#6-4044", "105:64:1/Skipped"},
       "110,1,4044,1"},
      {"transpose -1", {31, 64, 1, 32, 64, 1, 107, 64, 1, 108, 0, 1}, -1,
       {"31:64:1/Skipped", "32:64:1/G0-110", "107:64:1/A#6-4044", "108:0:1/Skipped"},
       "110,1,4044,1"},
      {"transpose +12", {60, 64, 5, 95, 64, 5}, 12,
       {"60:64:5/C4-3723", "95:64:5/Skipped"}, "3723,2"},
      {"transpose +32767", {0, 64, 5, 255, 64, 5}, 32767,
       {"0:64:5/Skipped", "255:64:5/Skipped"}, ""},
      {"transpose -32767", {0, 64, 5, 255, 64, 5}, -32767,
       {"0:64:5/Skipped", "255:64:5/Skipped"}, ""},
      {"transpose -32768", {255, 64, 5}, -32768, {"255:64:5/Skipped"}, ""},
      {"End of Track first", {0xFF, 0x2F, 0x00, 0x3C, 0x40, 0x30}, 0, {}, ""},
      {"End of Track off the triple is not the end",
       {0x3C, 0x40, 0x30, 0x00, 0xFF, 0x2F, 0x00},
       0,
       {"60:64:48/C3-3349", "0:255:47/Skipped"},
       "3349,10"},
      {"End of Track after a two-byte delta",
       {0x3C, 0x40, 0x81, 0x05, 0xFF, 0x2F, 0x00, 0x3C, 0x40, 0x30},
       0,
       {"60:64:129/C3-3349"},
       "3349,27"},
      {"a stray FF 2F with another third byte", {0xFF, 0x2F, 0x01}, 0, {"255:47:1/Skipped"}, ""},
  };
  for (const Case &c : cases) {
    Result r = convert(c.stream, c.eltolas);
    EXPECT_EQ(r.trace, c.trace) << c.what;
    EXPECT_EQ(r.pairs, c.pairs) << c.what;
  }
}

TEST(Convert, LengthTest) {
  // The last triple taken may end at NUMREAD, one past the loaded bytes.
  Result r = convert({0x3C, 0x40}, 0, 21, 24);  // status at 21, 22 and 23 loaded
  EXPECT_EQ(r.trace, std::vector<std::string>{"60:64:0/Skipped"});
  r = convert({0x3C}, 0, 21, 23);  // only 22 loaded: POS + 3 > NUMREAD
  EXPECT_TRUE(r.trace.empty());
  r = convert({0x3C, 0x40, 0x30, 0x3E}, 0);  // an incomplete triple at the end
  EXPECT_EQ(r.trace, std::vector<std::string>{"60:64:48/C3-3349"});
}

TEST(Convert, StreamsRunningToTheEndOfTheBuffer) {
  // 60001 bytes: the last triple ends at 60000, and 0x81 there takes the
  // position past the buffer as its second byte, which reads as 0.
  Result r = convert({0x3C, 0x40, 0x30, 0x3C, 0x40, 0x81}, 0, 59994, 60001);
  EXPECT_EQ(r.trace, (std::vector<std::string>{"60:64:48/C3-3349", "60:64:129/C3-3349"}));
  EXPECT_EQ(r.pairs, "3349,10,3349,26");
  // 60000 bytes: the last triple ends at NUMREAD, position 60000, holding 0.
  r = convert({0x3C, 0x40}, 0, 59997, 60000);
  EXPECT_EQ(r.trace, std::vector<std::string>{"60:64:0/Skipped"});
}
