// Must not compile: the simulation may not use drawing.
#include "render/color.h"
#include "sim/world.h"
