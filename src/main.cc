// midibas: converts the note stream of one MIDI channel into tvcsound.txt,
// a BASIC program that plays the tune with SOUND statements.
#include "driver.h"
#include "platform.h"

int main(int argc, char **argv) {
  static ARGS args;
  plat_start(argc, argv, &args);
  RUN(&args);
}
