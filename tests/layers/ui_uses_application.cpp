// Must not compile: the user interface may not use the application shell above it.
#include "app/shell.h"
#include "ui/keyboard.h"
