// The sound of a frame: every firefly whose blink passes its peak strikes its swarm's bar
// (sound/swarm_voices.h), at its place between the speakers. Made from the firefly table after
// the frame, never changing it, as a fixed number of samples a frame: the same run gives the
// same samples on every machine, in the window and in the headless runner alike.
#pragma once

#include <cstdint>

#include "sound/blink_peaks.h"

constexpr int SOUND_RATE_HZ = 48000;
constexpr int SOUND_FRAME_SAMPLES = 800;  // stereo samples a frame, at 60 frames a second
constexpr int SOUND_CHANNELS = 2;

// Signed 16-bit samples, left and right in turn.
struct FrameSound {
    int16_t samples[SOUND_FRAME_SAMPLES * SOUND_CHANNELS];
};

// The sound of the frame just run. Switched off (`on` false) the sound fades out within the
// frame and is silent after, while the peaks go on being followed, so that switching it on
// again brings in the bars as they would be ringing. Loud moments are held below full scale
// by a soft limit: a thousand fireflies striking together never clip. volume (0 to 1) scales
// the strikes of this frame on; the bars already ringing ring on as they were struck.
void make_frame_sound(FrameSound& out, bool on, float volume = 1.0f);

// Only follows the peaks, the first step of make_frame_sound, for a frame whose sound is not
// made but whose flashes are sent on (link/). A run calls one of the two each frame.
void find_frame_peaks();

// The peaks the latest frame's sound was made of, or that find_frame_peaks found.
const BlinkPeaks& frame_peaks();

// Forgets every firefly's blink and silences every bar: the world was cleared.
void forget_sound();
