// Motion: turning, speed, flutter and wrap-around of one firefly per call.
#pragma once

// Moves the firefly in slot `index` by one frame, right after its steering step.
void move_firefly(int index);
