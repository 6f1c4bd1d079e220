// The pitch and note-name table: 77 notes from G0 to H6. Entry i is MIDI
// note i + 31 when no transpose is in force. Names use H for the note a
// semitone below C and no flats.
#ifndef MIDIBAS_TABLE_H
#define MIDIBAS_TABLE_H

#include <stdint.h>

enum : unsigned { NOTES = 77 };

// The PITCH value of the target's SOUND statement for each note.
extern const uint16_t SOUND[NOTES];
// The name of each note, shown on the console.
extern const char *const HANGJEGY[NOTES];

#endif
