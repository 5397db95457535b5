// Must not compile: the files layer answers success or failure and may not touch the
// interface's variables.
#include "files/settings_file.h"
#include "ui/interface_state.h"
