#include "convert.h"

#include "console.h"
#include "driver.h"
#include "listing.h"
#include "table.h"

// Code addresses of the converter's console messages.
enum : uint32_t {
  AT_CREATING_MSG = 0x004019A8,
  AT_TRACE_MSG = 0x00401B3E,
};

void CONVERT(void) {
  MSG m;
  uint8_t A, B, C, C2;
  uint16_t W;

  SAYLN("Creating data...", AT_CREATING_MSG, IN_CONVERT);
  LST_OPEN();
  for (;;) {
    // Each event is three bytes: note number, velocity, and the delta time
    // before the next event; the fourth byte is a delta's second byte.
    A = BYTEAT(POS + 1L);
    B = BYTEAT(POS + 2L);
    C = BYTEAT(POS + 3L);
    C2 = BYTEAT(POS + 4L);
    if (POS + 3L > NUMREAD)
      break;
    POS += 3;
    if (A == 255 && B == 47 && C == 0)
      break;  // End of Track
    // Only 0x81 opens a two-byte delta, and it counts as 129, not 128.
    if (C == 129) {
      POS++;
      W = (uint16_t)(129 + C2);
    } else {
      W = C;
    }

    msg_begin(&m);
    msg_num(&m, A);
    msg_str(&m, ":");
    msg_num(&m, B);
    msg_str(&m, ":");
    msg_num(&m, C);
    // A note sounds when it has a duration and its shifted pitch lies in
    // the table. Notes that start together carry delta 0, so only the last
    // of them, the one followed by a delay, is played.
    long index = A - 31L + ELTOLAS;
    bool play = C > 0 && index >= 0 && index <= 75;
    unsigned pitch = 4095;  // a release (velocity 0) is silence
    if (!play) {
      msg_str(&m, "/Skipped");
    } else if (B == 0) {
      msg_str(&m, "/4095");
    } else {
      pitch = SOUND[index];
      msg_str(&m, "/");
      msg_str(&m, HANGJEGY[index]);
      msg_str(&m, "-");
      msg_num(&m, pitch);
    }
    SAY(&m, AT_TRACE_MSG, IN_CONVERT);
    if (play)
      LST_PAIR(pitch, W / 5U + 1U);
  }
  LST_CLOSE();
}
