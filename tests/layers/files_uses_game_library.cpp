// Must not compile: the files layer is plain C++ and may not use the game library.
#include <allegro.h>

#include "files/settings_file.h"
