/* The operations of a recorded midibas run, as the floor program replays
   them. */
#ifndef MIDIBAS_FLOOR_OPS_H
#define MIDIBAS_FLOOR_OPS_H

enum {
  OP_OPEN_INPUT = 1,
  OP_READ,
  OP_CLOSE_INPUT,
  OP_CONSOLE,
  OP_CREATE,
  OP_WRITE,
  OP_CLOSE_LISTING,
  OP_READLINE,
  OP_EXIT
};

#endif
