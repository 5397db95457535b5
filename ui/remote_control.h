// What other programs ask for acts as the user's own keys and edits do: a field is set as an
// edit sets it, pause as P sets it, and a preset is asked for and served as a number key's.
#pragma once

#include "files/remote_command.h"

// Acts on count commands in order, at the start of a frame; a preset loads at once, so a field
// set after it in the same frame changes the table it brought.
void act_on_remote(const RemoteCommand* commands, int count);
