// What other programs are told after each frame: one OSC bundle (time tag "immediately") of
//   /lumora/frame  i:FRAME                                  the frame's number
//   /lumora/swarm  i:SWARM i:POPULATION i:FLASHES f:ORDER   each swarm with live members
//   /lumora/flash  i:SWARM f:X f:Y f:BRIGHTNESS             each flash, in slot order
// The flashes are the blink peaks the frame's sound is made of (sound/blink_peaks.h); X and Y
// are pixels, BRIGHTNESS (sin(glow phase) + 1) / 2 at the peak, ORDER the swarm's synchrony
// (sim/synchrony.h). A bundle holds at most FLASHES_PER_BUNDLE flashes, the first in slot
// order, so that a slow receiver is not flooded; FLASHES counts them all.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/synchrony.h"
#include "sound/blink_peaks.h"

constexpr int FLASHES_PER_BUNDLE = 128;

// Bytes of a whole bundle: its head, the frame, nine swarms and the flashes, each message
// after its size.
constexpr size_t FRAME_BUNDLE_MAX =
    16 + (4 + 24) + SWARM_COUNT * (4 + 40) + FLASHES_PER_BUNDLE * (4 + 40);

struct FrameBundle {
    uint8_t bytes[FRAME_BUNDLE_MAX];
    size_t size;
};

// Makes the bundle of frame from the measures and peaks of the frame just run and the firefly
// table, which it only reads.
void make_frame_bundle(FrameBundle& out, int64_t frame, const Synchrony& synchrony,
                       const BlinkPeaks& peaks);
