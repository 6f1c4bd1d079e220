// The player routine every listing starts with, and the empty line after it.
#ifndef MIDIBAS_TESTS_ROUTINE_H
#define MIDIBAS_TESTS_ROUTINE_H

static const char ROUTINE[] =
    "220 RESTORE 300\r\n"
    "230 READ G,I\r\n"
    "240 if g=-1 then goto 295\r\n"
    "250 SOUND; PITCH G,DURATION 2,VOLUME 4\r\n"
    "270 SOUND; PITCH G,DURATION 2,VOLUME 6\r\n"
    "280 SOUND; PITCH G,DURATION I,VOLUME 8\r\n"
    "290 goto 230\r\n"
    "295 print\"VEGE\"\r\n"
    "\r\n";

#endif
