// The BASIC listing writer, against the in-memory platform.
#include <gtest/gtest.h>

#include <string>

#include "listing.h"
#include "memplat.h"
#include "routine.h"


// Writes n pairs (pitch 1000 + k, duration k + 1) through the writer.
static int write_pairs(unsigned n) {
  try {
    LST_OPEN();
    for (unsigned k = 0; k < n; k++)
      LST_PAIR(1000 + k, k + 1);
    LST_CLOSE();
  } catch (const Exited &e) {
    return e.status;
  }
  return 0;
}

// The listing that n such pairs must give: full lines of 19 pairs, then a
// last line with the rest and the closing pair.
static std::string expected(unsigned n) {
  std::string s = ROUTINE;
  unsigned line = 300, k = 0;
  auto pair = [](unsigned k) { return std::to_string(1000 + k) + "," + std::to_string(k + 1); };
  for (; n - k >= 19; line += 10) {
    s += std::to_string(line) + " data ";
    for (unsigned end = k + 19; k < end; k++)
      s += pair(k) + (k + 1 < end ? "," : "\r\n");
  }
  s += std::to_string(line) + " data ";
  for (; k < n; k++)
    s += pair(k) + ",";
  return s + "-1,-1\r\n";
}

TEST(Listing, LineBreaks) {
  for (unsigned n : {0u, 1u, 18u, 19u, 20u, 38u, 39u, 40u, 57u}) {
    mem_reset();
    ASSERT_EQ(write_pairs(n), 0);
    EXPECT_TRUE(WORLD.listing_closed);
    EXPECT_EQ(WORLD.listing, expected(n)) << n << " pairs";
  }
}

TEST(Listing, KnownShapes) {
  mem_reset();
  write_pairs(0);
  EXPECT_EQ(WORLD.listing, std::string(ROUTINE) + "300 data -1,-1\r\n");

  mem_reset();
  write_pairs(19);
  const std::string &l = WORLD.listing;
  EXPECT_EQ(l.substr(l.size() - 33), "1017,18,1018,19\r\n310 data -1,-1\r\n");

  mem_reset();
  write_pairs(40);
  EXPECT_NE(WORLD.listing.find("\r\n320 data 1038,39,1039,40,-1,-1\r\n"), std::string::npos);
  EXPECT_EQ(SG, 43);
  EXPECT_EQ(DTNUM, 330);
}

TEST(Listing, ReachesTheFileInWholeBlocks) {
  mem_reset();
  LST_OPEN();
  for (unsigned k = 0; k < 100; k++) {
    LST_PAIR(4095, 52);
    for (unsigned size : WORLD.blocks)
      ASSERT_EQ(size, 256u);
  }
  size_t before = WORLD.blocks.size();
  EXPECT_EQ(WORLD.listing.size(), before * 256);
  LST_CLOSE();
  ASSERT_EQ(WORLD.blocks.size(), before + 1);
  EXPECT_LT(WORLD.blocks.back(), 256u);
  EXPECT_EQ(WORLD.listing.size() % 256, WORLD.blocks.back());
}

TEST(Listing, FailedWriteLosesTheBufferedRest) {
  mem_reset();
  WORLD.write_fail_at = 2;  // the third block
  EXPECT_EQ(write_pairs(200), 101);
  EXPECT_EQ(WORLD.listing.size(), 512u);
  EXPECT_FALSE(WORLD.listing_closed);
  EXPECT_EQ(WORLD.console.substr(0, 22), "Runtime error 101 at $");
}

TEST(Listing, CreateFailureWritesNothing) {
  mem_reset();
  WORLD.create_result = 5;
  EXPECT_EQ(write_pairs(3), 5);
  EXPECT_FALSE(WORLD.listing_created);
  EXPECT_TRUE(WORLD.blocks.empty());
}
