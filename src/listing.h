// The BASIC listing, tvcsound.txt: a fixed player routine of eight lines,
// then DATA lines from 300 in steps of 10 holding pitch,duration pairs, 19
// to a line, closed by the pair -1,-1.
#ifndef MIDIBAS_LISTING_H
#define MIDIBAS_LISTING_H

#include <stdint.h>

extern uint16_t SG;     // items on the DATA lines: each line's opening and each pair
extern uint16_t DTNUM;  // the number the next DATA line gets

// Creates the file and writes the player routine, an empty line and the
// opening of DATA line 300.
void LST_OPEN(void);
// Adds one pair; the 19th pair of a line ends it and opens the next.
void LST_PAIR(unsigned pitch, unsigned duration);
// Writes the closing pair -1,-1 with its line end and closes the file.
void LST_CLOSE(void);

#endif
