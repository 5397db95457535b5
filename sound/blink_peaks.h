// Which fireflies' blinks passed their brightest point in the latest frame: the sine of the
// glow phase turned from rising to falling. The firefly table is only read; what each slot
// looked like in the frame before is kept in a BlinkMemory, never in the table.
#pragma once

#include <cstdint>

#include "sim/world.h"

// Per slot, the frame before, in one byte, which keeps the pass over the table short: the
// swarm (0 for no firefly) in the low four bits, the quarter of the blink the phase was in,
// and whether the firefly has been in the dark half since it last sounded.
struct BlinkMemory {
    uint8_t slot[FIREFLIES_MOST];
};

struct BlinkPeak {
    int32_t slot;
    int32_t swarm;  // 1 to 9
    float x;        // pixels
    // How far between the frame before and this one the peak came, 0 to 1, taking the phase to
    // have moved the most a firefly's own blink moves in a frame. A phase further past the peak
    // jumped there (taken from a neighbour) and counts as peaking at 0.
    float when;
};

struct BlinkPeaks {
    int32_t count;
    int32_t per_swarm[SWARM_COUNT];  // entry 0 unused
    BlinkPeak peak[FIREFLIES_MOST];   // the first `count`, in slot order
};

// Compares the table with the frame before, lists the peaks and remembers the table. A slot
// that was free, or held another swarm, in the frame before has no peak now: a new or changed
// firefly starts afresh. A firefly sounds when its blink turns from brightening to dimming
// with either frame in the bright half, and only once it has been in the dark half since it
// last sounded: one that takes its phase from neighbours near the peak swings across it and
// back, and would otherwise sound at every swing.
//
// The quarter of the blink a phase is in is worked out in single precision, truncated: the
// quarters are counted from 0 modulo 2 pi, 0 brightening in the bright half, 1 dimming in it,
// 2 dimming in the dark half, 3 brightening in it. Phases below 0 or from PHASE_LIMIT up (and
// NaN) make no sound.
constexpr float PHASE_LIMIT = 1.0e9f;
void find_blink_peaks(BlinkMemory& memory, BlinkPeaks& out);

// Forgets the frame before: the next call sees every firefly as new.
void forget_blink_peaks(BlinkMemory& memory);
