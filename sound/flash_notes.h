// The flashes as MIDI: each flash that the frame's sound is made of (sound/blink_peaks.h) plays
// a note on its swarm's channel, for a MIDI file or a sequencer port alike. Swarm n plays on
// channel n (counted from 1, as players count them; 0 to 8 in the status byte), always on the
// key of its bar in lumora's own sound, the equal-tempered key nearest the bar's pitch: A3, B3,
// C#4, E4, F#4, A4, B4, C#5 and E5 (MIDI keys 57 to 76). A note's velocity is the firefly's
// brightness after the frame, as the glow draws it, 1 to 127; its place across the field sets
// the channel's pan (controller 10, 0 at the left edge to 127 at the right) just before the
// note, whenever it differs from the pan the channel was last given. A note lasts NOTE_FRAMES
// frames, or ends sooner when its swarm flashes again: the notes of a swarm's frame end
// together, before its next frame's begin, so a key is never struck while it still sounds from
// an earlier frame.
#pragma once

#include <cstdint>

#include "sim/world.h"
#include "sound/blink_peaks.h"

constexpr int NOTE_FRAMES = 6;         // a tenth of a second at 60 frames a second
constexpr int MIDI_MESSAGE_BYTES = 3;  // every message here: a status byte and two data bytes
constexpr int PAN_CONTROLLER = 10;

// What is sounding on each swarm's channel: the notes the swarm's latest flashing frame
// started, and the pan it was last given. The defaults are those of a run's start.
struct FlashNotes {
    int32_t sounding[SWARM_COUNT] = {};                                   // notes not yet ended
    int32_t frames_left[SWARM_COUNT] = {};                                // until they end
    int32_t pan[SWARM_COUNT] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};  // -1: none given
};

// The messages of one frame, in the order they are to be sent, three bytes each: note-offs
// (0x80 + channel, key, 0), pans (0xB0 + channel, 10, pan) and note-ons (0x90 + channel, key,
// velocity). At most a note-off for every slot of each swarm, and a pan and a note-on for
// every slot: about 1.6 MB, made once by whoever sends them.
constexpr int MAX_FRAME_MIDI_MESSAGES = (SWARM_COUNT - 1) * FIREFLIES_MOST + 2 * FIREFLIES_MOST;
struct FrameMidi {
    int32_t count = 0;
    uint8_t bytes[MAX_FRAME_MIDI_MESSAGES * MIDI_MESSAGE_BYTES];
};

// The MIDI key each swarm plays (entry 0 unused).
extern const uint8_t SWARM_KEY[SWARM_COUNT];

// The messages of the frame just run, from its flashes and the firefly table as the frame left
// it, which is only read: the notes whose time is up or whose swarm flashes again end, then a
// note starts for each flash, in the peaks' order.
void make_frame_midi(FlashNotes& notes, const BlinkPeaks& peaks, FrameMidi& out);

// The note-offs of every note still sounding, for the end of a run.
void end_frame_midi(FlashNotes& notes, FrameMidi& out);
