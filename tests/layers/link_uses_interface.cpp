// Must not compile: the link reads the world after a frame and hands commands to the frame;
// it may not reach the interface's variables.
#include "link/frame_bundle.h"
#include "ui/interface_state.h"
