#include "cmdline.h"

static bool separator(char c) { return (unsigned char)c <= ' '; }

void SPLITCMD(const char *line, ARGS *args) {
  int word = 0;  // the program's name is word 0
  args->n = 0;
  for (int i = 0; i < 3; i++)
    args->v[i][0] = '\0';
  for (;;) {
    while (*line != '\0' && separator(*line))
      line++;
    if (*line == '\0')
      break;
    char *dst = word >= 1 && word <= 3 ? args->v[word - 1] : nullptr;
    unsigned len = 0;
    bool quoted = false;
    for (; *line != '\0' && (quoted || !separator(*line)); line++) {
      if (*line == '"')
        quoted = !quoted;
      else if (dst != nullptr && len < 255)
        dst[len++] = *line;
    }
    if (dst != nullptr)
      dst[len] = '\0';
    word++;
  }
  args->n = word > 0 ? word - 1 : 0;
}
