#include "sound/flash_notes.h"

#include "sim/blink_point.h"

// The bars' pitches (sound/swarm_voices.cpp) are A3 and the major pentatonic in just
// intonation; the keys are the equal-tempered ones nearest them, none further than a fifth of
// a semitone.
const uint8_t SWARM_KEY[SWARM_COUNT] = {0, 57, 59, 61, 64, 66, 69, 71, 73, 76};

namespace {

void add(FrameMidi& out, int status, int first, int second) {
    uint8_t* at = out.bytes + MIDI_MESSAGE_BYTES * out.count++;
    at[0] = static_cast<uint8_t>(status);
    at[1] = static_cast<uint8_t>(first);
    at[2] = static_cast<uint8_t>(second);
}

void end_notes(FlashNotes& notes, int swarm, FrameMidi& out) {
    for (int n = 0; n < notes.sounding[swarm]; ++n) add(out, 0x80 + swarm - 1, SWARM_KEY[swarm], 0);
    notes.sounding[swarm] = 0;
    notes.frames_left[swarm] = 0;
}

// 1 to 127 from the brightness 0 to 1, as the glow works it out.
int velocity_of(int slot) {
    const float brightness = static_cast<float>((blink_point(slot).sine + 1.0) / 2.0);
    const float v = 1.0f + 126.0f * brightness + 0.5f;
    return v >= 127.0f ? 127 : v >= 1.0f ? static_cast<int>(v) : 1;
}

// 0 to 127 across the field (eight pixels a step on the default one); a place outside it
// finds an edge.
int pan_of(float x) {
    const float w = static_cast<float>(field_w_px);
    return x >= 0.0f && x < w ? static_cast<int>(static_cast<int64_t>(x) * 128 / field_w_px)
           : x >= w           ? 127
                              : 0;
}

}  // namespace

void make_frame_midi(FlashNotes& notes, const BlinkPeaks& peaks, FrameMidi& out) {
    out.count = 0;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        if (notes.sounding[s] == 0) continue;
        if (peaks.per_swarm[s] > 0 || --notes.frames_left[s] <= 0) end_notes(notes, s, out);
    }
    for (int i = 0; i < peaks.count; ++i) {
        const BlinkPeak& p = peaks.peak[i];
        const int channel = p.swarm - 1;
        const int pan = pan_of(p.x);
        if (pan != notes.pan[p.swarm]) {
            add(out, 0xB0 + channel, PAN_CONTROLLER, pan);
            notes.pan[p.swarm] = pan;
        }
        add(out, 0x90 + channel, SWARM_KEY[p.swarm], velocity_of(p.slot));
        ++notes.sounding[p.swarm];
        notes.frames_left[p.swarm] = NOTE_FRAMES;
    }
}

void end_frame_midi(FlashNotes& notes, FrameMidi& out) {
    out.count = 0;
    for (int s = 1; s < SWARM_COUNT; ++s) end_notes(notes, s, out);
}
