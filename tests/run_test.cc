// Whole runs in-process, against the in-memory platform: the order of the
// messages, one write for each, the load, and the run-time error report for
// a failure at every kind of operation.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "memplat.h"

// A small file: header bytes, the status byte at 30, two notes, End of Track.
static std::string song() {
  std::string s(30, 'M');
  s += '\x90';
  s += std::string("\x3C\x40\x30\x3C\x00\x10\xFF\x2F\x00", 9);
  return s;
}

TEST(Run, EveryMessageIsOneWriteOfOneLine) {
  mem_reset();
  WORLD.inputs["song.mid"] = song();
  ASSERT_EQ(mem_run({"song.mid"}), 0);
  ASSERT_GT(WORLD.messages.size(), 10u);
  for (const std::string &m : WORLD.messages) {
    ASSERT_GE(m.size(), 2u);
    EXPECT_EQ(m.find("\r\n"), m.size() - 2) << m;
    EXPECT_EQ(m.find('\n'), m.size() - 1) << m;
  }
  EXPECT_EQ(WORLD.messages.front(), "Open: song.mid\r\n");
  EXPECT_EQ(WORLD.messages[3], "Looking for track (144)...\r\n");
  EXPECT_EQ(WORLD.messages[4], "21:77\r\n");
  EXPECT_EQ(WORLD.messages[13], "30:144\r\n");
  EXPECT_EQ(WORLD.messages.back(), "End.\r\n");
  EXPECT_EQ(WORLD.readlines, 1u);
  EXPECT_FALSE(WORLD.input_open);
}

TEST(Run, LoadReadsUntilTheFileEndsOrTheBufferIsFull) {
  for (unsigned chunk : {0u, 1u, 4096u}) {
    mem_reset();
    WORLD.read_chunk = chunk;
    WORLD.inputs["pipe"] = std::string(70000, '\x01');
    ASSERT_EQ(mem_run({"pipe"}), 0);
    EXPECT_EQ(WORLD.messages[1], "Readed: 60001 bytes\r\n") << chunk;
    EXPECT_EQ(WORLD.messages[WORLD.messages.size() - 3], "60001:0\r\n");

    mem_reset();
    WORLD.read_chunk = chunk;
    WORLD.inputs["pipe"] = song();
    ASSERT_EQ(mem_run({"pipe"}), 0);
    EXPECT_EQ(WORLD.messages[1], "Readed: 40 bytes\r\n") << chunk;
  }
  mem_reset();
  WORLD.inputs["big"] = std::string(60001, '\x01');
  mem_run({"big"});
  EXPECT_EQ(WORLD.reads, 1u);  // a full buffer is never read past
}

TEST(Run, ArgumentsAndDefaults) {
  const struct {
    std::vector<std::string> args;
    const char *transpose, *looking;
  } cases[] = {
      {{"song.mid"}, "Transpose: 0\r\n", "Looking for track (144)...\r\n"},
      {{"song.mid", ""}, "Transpose: 0\r\n", "Looking for track (144)...\r\n"},
      {{"song.mid", "", "145"}, "Transpose: 0\r\n", "Looking for track (145)...\r\n"},
      {{"song.mid", "-3", ""}, "Transpose: -3\r\n", "Looking for track (144)...\r\n"},
      {{"song.mid", "65535", "$90"}, "Transpose: -1\r\n", "Looking for track (144)...\r\n"},
      {{"song.mid", "32768", "0x90"}, "Transpose: -32768\r\n", "Looking for track (144)...\r\n"},
      {{"song.mid", "x", "400"}, "Transpose: 0\r\n", "Looking for track (144)...\r\n"},
      {{"song.mid", "0", "-1"}, "Transpose: 0\r\n", "Looking for track (0)...\r\n"},
      {{"song.mid", "0", "abc"}, "Transpose: 0\r\n", "Looking for track (0)...\r\n"},
      {{"song.mid", "0", "256"}, "Transpose: 0\r\n", "Looking for track (0)...\r\n"},
      {{"song.mid", "7", "144", "extra"}, "Transpose: 7\r\n", "Looking for track (144)...\r\n"},
  };
  for (const auto &c : cases) {
    mem_reset();
    WORLD.inputs["song.mid"] = song();
    ASSERT_EQ(mem_run(c.args), 0);
    EXPECT_EQ(WORLD.messages[2], c.transpose);
    EXPECT_EQ(WORLD.messages[3], c.looking);
  }
}

TEST(Run, LongFileNameIsCut) {
  std::string name(300, 'n');
  mem_reset();
  WORLD.inputs[name.substr(0, 255)] = song();
  ASSERT_EQ(mem_run({name}), 0);
  EXPECT_EQ(WORLD.messages[0], "Open: " + name.substr(0, 255) + "\r\n");
}

struct Report {
  int status;
  std::string first;                 // the "Runtime error" line
  std::vector<std::string> callers;  // the address lines after the first "  $" line
};

// Reads the report at the end of the console text.
static Report report(int status) {
  Report r{status, "", {}};
  const std::string &c = WORLD.console;
  size_t at = c.rfind("Runtime error ");
  EXPECT_NE(at, std::string::npos) << c;
  if (at == std::string::npos)
    return r;
  std::string rest = c.substr(at);
  EXPECT_EQ(rest.substr(rest.size() - 4), "\r\n\r\n");
  std::vector<std::string> lines;
  for (size_t p = 0, e; (e = rest.find("\r\n", p)) != std::string::npos && e > p; p = e + 2)
    lines.push_back(rest.substr(p, e - p));
  r.first = lines[0];
  EXPECT_EQ(r.first.size(), std::string("Runtime error ").size() + std::to_string(status).size() + 13);
  std::string addr = r.first.substr(r.first.size() - 9);
  EXPECT_EQ(r.first, "Runtime error " + std::to_string(status) + " at " + addr);
  EXPECT_EQ(addr.find_first_not_of("$0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(lines[1], "  " + addr);
  r.callers.assign(lines.begin() + 2, lines.end());
  for (const std::string &l : r.callers)
    EXPECT_EQ(l.size(), 11u) << l;
  return r;
}

TEST(Run, FailureAtEachOperationHasItsOwnAddress) {
  struct Failure {
    const char *what;
    void (*inject)();
    bool in_converter;
    size_t messages_before;  // console messages that went out before it
  };
  // A converting run of song() writes: 0 Open, 1 Readed, 2 Transpose,
  // 3 Looking, 4..13 search, 14 Creating data, 15..16 trace, 17 End.
  static const Failure failures[] = {
      {"Open message", [] { WORLD.console_fail_at = 0; }, false, 0},
      {"open", [] { WORLD.inputs.clear(); }, false, 1},
      {"read", [] { WORLD.read_result = 5; }, false, 1},
      {"Readed message", [] { WORLD.console_fail_at = 1; }, false, 1},
      {"Transpose message", [] { WORLD.console_fail_at = 2; }, false, 2},
      {"close of the input", [] { WORLD.close_input_result = 6; }, false, 3},
      {"Looking message", [] { WORLD.console_fail_at = 3; }, false, 3},
      {"search line", [] { WORLD.console_fail_at = 9; }, false, 9},
      {"Creating message", [] { WORLD.console_fail_at = 14; }, true, 14},
      {"create", [] { WORLD.create_result = 5; }, true, 15},
      {"trace line", [] { WORLD.console_fail_at = 16; }, true, 16},
      {"listing write at the close", [] { WORLD.write_fail_at = 0; }, true, 17},
      {"close of the listing", [] { WORLD.close_listing_result = 6; }, true, 17},
      {"End message", [] { WORLD.console_fail_at = 17; }, false, 17},
      {"final read", [] { WORLD.readline_result = 9; }, false, 18},
  };
  std::set<std::string> addresses;
  std::vector<std::string> driver_callers, converter_callers;
  for (const Failure &f : failures) {
    mem_reset();
    WORLD.inputs["song.mid"] = song();
    f.inject();
    int status = mem_run({"song.mid"});
    ASSERT_NE(status, 0) << f.what;
    // Nothing of the run after the failure happens: the report is the
    // last message, and no listing is completed.
    ASSERT_EQ(WORLD.messages.size(), f.messages_before + 1) << f.what;
    Report r = report(status);
    EXPECT_TRUE(addresses.insert(r.first.substr(r.first.size() - 9)).second) << f.what;
    std::vector<std::string> &chain = f.in_converter ? converter_callers : driver_callers;
    if (chain.empty())
      chain = r.callers;
    EXPECT_EQ(r.callers, chain) << f.what;
    EXPECT_EQ(r.callers.size(), f.in_converter ? 2u : 1u) << f.what;
    EXPECT_EQ(WORLD.readlines, status == 9 ? 1u : 0u) << f.what;
  }
  // The converter's chain ends in the driver's.
  EXPECT_EQ(converter_callers.back(), driver_callers.back());
}

TEST(Run, Usage) {
  mem_reset();
  EXPECT_EQ(mem_run({}), 2);
  ASSERT_EQ(WORLD.messages.size(), 1u);
  EXPECT_EQ(WORLD.console.substr(0, 14), "Usage: midibas");
  EXPECT_EQ(WORLD.readlines, 1u);
  EXPECT_FALSE(WORLD.listing_created);
}
