#include "sound/sound_feed.h"

namespace {

// What share of sample n of a frame a fade lets through: rising from near 0 to 1, falling from
// near 1 to 0, or both for a frame between two silences.
enum class Fade { NONE, IN, OUT, IN_AND_OUT };

float share(Fade fade, int n) {
    const float in = static_cast<float>(n + 1) / SOUND_FRAME_SAMPLES;
    const float out = static_cast<float>(SOUND_FRAME_SAMPLES - 1 - n) / SOUND_FRAME_SAMPLES;
    switch (fade) {
        case Fade::IN:
            return in;
        case Fade::OUT:
            return out;
        case Fade::IN_AND_OUT:
            return 2.0f * (in < out ? in : out);
        case Fade::NONE:
            break;
    }
    return 1.0f;
}

void faded(const FrameSound& from, Fade fade, FrameSound& out) {
    for (int n = 0; n < SOUND_FRAME_SAMPLES; ++n) {
        const float s = share(fade, n);
        for (int c = 0; c < SOUND_CHANNELS; ++c) {
            const int i = n * SOUND_CHANNELS + c;
            out.samples[i] = static_cast<int16_t>(static_cast<float>(from.samples[i]) * s);
        }
    }
}

}  // namespace

bool feed_frame(SoundFeed& feed, const FrameSound& next, FrameSound& out) {
    const bool sending = feed.holding;
    if (sending) {
        faded(feed.held, feed.after_silence ? Fade::IN : Fade::NONE, out);
        feed.after_silence = false;
    }
    feed.held = next;
    feed.holding = true;
    return sending;
}

bool feed_gap(SoundFeed& feed, FrameSound& out) {
    if (!feed.holding) return false;
    faded(feed.held, feed.after_silence ? Fade::IN_AND_OUT : Fade::OUT, out);
    feed.holding = false;
    feed.after_silence = true;
    return true;
}

bool feed_merged(SoundFeed& feed, const FrameSound& next, FrameSound& out) {
    // Right after a silence the device has room; a frame alone is sent as it comes.
    if (!feed.holding || feed.after_silence) return feed_frame(feed, next, out);
    for (int n = 0; n < SOUND_FRAME_SAMPLES; ++n) {
        const float in = share(Fade::IN, n);
        for (int c = 0; c < SOUND_CHANNELS; ++c) {
            const int i = n * SOUND_CHANNELS + c;
            out.samples[i] =
                static_cast<int16_t>(static_cast<float>(feed.held.samples[i]) * (1.0f - in) +
                                     static_cast<float>(next.samples[i]) * in);
        }
    }
    feed.holding = false;
    return true;
}
