// The window's sound: each frame's samples go to ALSA's default device from a thread of the
// program's own, so the frame loop only hands a frame over and never waits for the device.
// The thread opens the device itself, without blocking: with no device, or a busy one, the
// program runs silent, with no message and no delay. The library's own sound would need its
// background thread, which the frame loop holds still (app/window_events.h).
#pragma once

#include "sound/frame_sound.h"

// Starts the thread, which opens the device. Returns false when there is no way to play sound
// at all (built without ALSA, or no thread); the frames need not make any then.
bool start_sound_output();

// Hands the frame's samples over; never blocks. Does nothing when the output is not started,
// or the device could not be opened.
void play_frame_sound(const FrameSound& sound);

// Whether the frames' sound is still wanted: false once the device has failed to open.
bool sound_output_wanted();

// Lets the last frame fade out, closes the device and ends the thread.
void stop_sound_output();
