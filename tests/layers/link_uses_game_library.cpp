// Must not compile: the link to other programs is plain C++ and POSIX, and its packet reader
// is fuzzed without the game library.
#include <allegro.h>

#include "link/osc_packet.h"
