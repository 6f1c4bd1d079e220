// Cutting a Windows command line into arguments.
#ifndef MIDIBAS_CMDLINE_H
#define MIDIBAS_CMDLINE_H

#include "platform.h"

// Splits the raw command line at blanks, tabs and other control characters
// outside double quotes. A double quote switches quoting and is removed; a
// text of quotes alone is an empty argument that keeps its place. The first
// word is the program's own name and is not counted. args gets the number
// of arguments and the first three, each cut to 255 characters.
void SPLITCMD(const char *line, ARGS *args);

#endif
