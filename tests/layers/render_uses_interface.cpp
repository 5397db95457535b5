// Must not compile: drawing may not use the user interface; what it shows comes as arguments.
#include "render/glow.h"
#include "ui/interface_state.h"
