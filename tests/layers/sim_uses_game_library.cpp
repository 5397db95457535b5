// Must not compile: the simulation is plain C++ and may not use the game library.
#include <allegro.h>

#include "sim/world.h"
