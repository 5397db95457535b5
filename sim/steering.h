// Steering: each firefly picks a neighbour of its target swarm to pursue and takes over the
// glow phase of one within communication range, so blinking spreads through swarms that
// watch each other.
#pragma once

// Nearest accepted target is never this close, and one nearer than the stop distance ends the
// walk over the table.
constexpr float TARGET_MIN_DISTANCE = 20.0f;   // pixels
constexpr float TARGET_STOP_DISTANCE = 80.0f;  // pixels
constexpr float NO_TARGET_DISTANCE = 99999.0f;

// Steers the firefly in slot `index`: returns the whole distance to the target accepted in
// this call (at least 20), or 0 when none was accepted.
int steer_firefly(int index);
