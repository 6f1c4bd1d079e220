// The note-stream converter: decodes the bytes after the status byte found
// by the driver as running-status note events and writes the tune into the
// listing, tracing each event on the console.
#ifndef MIDIBAS_CONVERT_H
#define MIDIBAS_CONVERT_H

// Starts at POS, the status byte; moves POS on as it reads. On return the
// listing is complete and closed.
void CONVERT(void);

#endif
