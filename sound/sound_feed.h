// What a player sends its sound device, frame by frame, so that the device never jumps: it
// holds each frame back until the next one has come, so that a frame that comes late finds
// the one before it still in hand, and that one is sent fading out into silence; the frame
// after a silence fades in. A device that has taken too much (its clock slower than the
// frames') gets two frames merged into one by a crossfade, so it catches up without a jump.
#pragma once

#include "sound/frame_sound.h"

struct SoundFeed {
    FrameSound held;
    bool holding = false;
    bool after_silence = true;  // what is sent next fades in
};

// A frame came: `out` is what to send now, the frame held before (faded in after a silence);
// returns false when there is nothing to send yet. The new frame is held.
bool feed_frame(SoundFeed& feed, const FrameSound& next, FrameSound& out);

// The device will run out before the next frame comes: `out` is the held frame fading out;
// returns false when nothing is held.
bool feed_gap(SoundFeed& feed, FrameSound& out);

// Like feed_frame, for a device that has too much already: `out` crosses from the held frame
// into the new one, and nothing is held after.
bool feed_merged(SoundFeed& feed, const FrameSound& next, FrameSound& out);
