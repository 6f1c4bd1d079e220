// The pitch and note-name table.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include "table.h"

TEST(Table, SpotValues) {
  const struct {
    unsigned index;
    const char *name;
    unsigned pitch;
  } cases[] = {
      {0, "G0", 110},   {11, "F#1", 1984}, {12, "G1", 2103}, {13, "G#1", 2215},
      {29, "C3", 3349}, {38, "A3", 3652},  {75, "A#6", 4044}, {76, "H6", 4047},
  };
  for (const auto &c : cases) {
    EXPECT_STREQ(HANGJEGY[c.index], c.name) << c.index;
    EXPECT_EQ(SOUND[c.index], c.pitch) << c.index;
  }
}

TEST(Table, NamesRunByOctavesWithoutFlats) {
  static const char *const letters[12] = {"C", "C#", "D", "D#", "E", "F",
                                          "F#", "G", "G#", "A", "A#", "H"};
  for (unsigned i = 0; i < NOTES; i++) {
    unsigned semitone = i + 7;  // entry 0 is G of octave 0
    std::string want = std::string(letters[semitone % 12]) + std::to_string(semitone / 12);
    EXPECT_EQ(HANGJEGY[i], want) << i;
    EXPECT_EQ(strchr(HANGJEGY[i], 'b'), nullptr) << i;
  }
}

TEST(Table, PitchesRiseBelowTheReleaseValue) {
  for (unsigned i = 1; i < NOTES; i++)
    EXPECT_LT(SOUND[i - 1], SOUND[i]) << i;
  EXPECT_LT(SOUND[NOTES - 1], 4095);
}

// The target plays PITCH p at 195312.5 / (4096 - p) Hz: each entry must be
// its note in equal temperament at A = 440 Hz, within 20 cents.
TEST(Table, EveryEntryIsInTune) {
  for (unsigned i = 0; i < NOTES; i++) {
    double played = 195312.5 / (4096 - SOUND[i]);
    double wanted = 440.0 * pow(2.0, ((double)i + 31 - 69) / 12);
    EXPECT_LT(fabs(1200 * log2(played / wanted)), 20.0) << HANGJEGY[i];
  }
}
