// Must not compile: the sound is plain C++, the same in the window and the headless runner,
// and may not use the game library.
#include <allegro.h>

#include "sound/frame_sound.h"
