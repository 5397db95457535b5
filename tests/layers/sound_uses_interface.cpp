// Must not compile: the sound reads the world and is told whether it is on; it may not reach
// the interface's variables.
#include "sound/frame_sound.h"
#include "ui/interface_state.h"
