// The nine swarm voices. Each swarm sounds like a small bar of its own pitch: a firefly's peak
// strikes it once, at a place between the left and right speaker, and it rings as a pure tone
// that starts at once and dies away exponentially, to 1/e in 60 ms. Strikes add up, so a bar
// struck again while it rings rings on.
//
// Everything is worked out from a few numbers by plain arithmetic, never by the C library's
// sine or exponential, so the samples are the same on every machine.
#pragma once

#include "sim/world.h"

constexpr int VOICE_RATE_HZ = 24000;      // the voices' samples a second, half the output's
constexpr int VOICE_FRAME_SAMPLES = 400;  // a frame of them, at 60 frames a second
constexpr int STRIKE_SAMPLES = 8;         // strikes start on every eighth sample of the frame
constexpr int STRIKE_POINTS = VOICE_FRAME_SAMPLES / STRIKE_SAMPLES;

// The pitch of each swarm's note: swarms 1 to 9 climb the major pentatonic scale from A below
// middle C, in whole-number ratios (entry 0 unused).
extern const double SWARM_PITCH_HZ[SWARM_COUNT];

// Strikes swarm's bar at `point` (0 to STRIKE_POINTS - 1) of the coming frame, with the
// loudness it has in each speaker, in sample units.
void strike_voice(int swarm, int point, float left, float right);

// A frame of the bars' sound in each speaker (left, right), in sample units.
struct VoiceMix {
    float channel[2][VOICE_FRAME_SAMPLES];
};

// The coming frame of every bar, silent unless `heard`, for the caller to finish in place;
// every bar moves on by the frame either way, the frame's strikes included.
VoiceMix& play_voices(bool heard);

// Silences every bar at once.
void forget_voices();
