#include "sound/frame_sound.h"

#include <cmath>

#include "sim/world.h"
#include "sound/blink_peaks.h"
#include "sound/swarm_voices.h"

namespace {

// How loud the fireflies of a swarm strike. The strikes of its latest frames are counted,
// each frame's at the share of a note still ringing after it (about three quarters); n counted
// strikes together sound n^(3/8) times as loud as a lone firefly's, so loudness grows with the
// number flashing together, ever more slowly. Fireflies in step strike at the same moment and
// their notes add up in full, so it is their sum that is held to this.
constexpr float LONE_STRIKE = 1500.0f;  // sample units
constexpr float STILL_RINGING = 0.75f;

// What a listener hears as a pulse is many strikes in one moment among few around it: a
// swarm's strikes of this frame are weighed against those of about its last half second
// (each frame's counted at 31/32 of the one after), and the loudness scaled by the 3/4 power
// of that share. A swarm in step strikes nearly all its members in one frame a blink (a share
// near 1); a crowd out of step strikes a few every frame (a share of a few hundredths), and is
// heard about 20 dB below a swarm in step: a patter, not a drone. A ring of chasers flickering
// in step every third frame lies between the two.
constexpr float STILL_RECENT = 31.0f / 32.0f;

// A run's sound comes in over its first second rather than at once: the fireflies start at
// every phase of their blink, and until the shares above have a second to go by, every swarm
// would sound as if in step.
constexpr int FADE_IN_FRAMES = 60;

// The speakers: a firefly at the left edge is heard from the left at 95% of its power, so that
// even the edges keep a little of the other side.
constexpr float PAN_EDGE = 0.05f;

// The soft limit: samples up to the knee pass unchanged; beyond it they bend smoothly towards
// the ceiling, which they never reach. Both are below full scale, 32767.
constexpr float KNEE = 16384.0f;
constexpr float CEILING = 32000.0f;

// What the sound remembers of the frames before; forgetting the sound is assigning it anew.
struct Heard {
    BlinkMemory memory = {};
    float counted[SWARM_COUNT] = {};         // each swarm's recent strikes, as above
    float recent[SWARM_COUNT] = {};          // each swarm's strikes of about half a second
    int frames_heard = 0;                    // frames since the sound was forgotten, to the fade-in
    float last_gain = 1.0f;                  // the on/off fade where the last frame ended
    float last_sample[SOUND_CHANNELS] = {};  // each speaker's last voice sample, limited
};
Heard heard;
BlinkPeaks peaks;  // this frame's, made anew every frame

float soft_limit(float x) {
    const float size = std::fabs(x);
    if (size <= KNEE) return x;
    const float over = (size - KNEE) / (CEILING - KNEE);
    const float bent = KNEE + (CEILING - KNEE) * (over / (1.0f + over));
    return x < 0.0f ? -bent : bent;
}

// Samples are rounded to the nearest whole number, halves upwards, by truncating them lifted
// above 0: the same on every machine whatever its rounding mode. They lie within the ceiling.
constexpr float LIFT = 32768.5f;
constexpr int32_t LIFTED_ZERO = 32768;

// Each firefly's strike, its loudness shared between the speakers by its place across the
// screen, with the same power wherever it is: the gains for every PLACE_PX pixels, from the
// left edge to the right, worked out once.
constexpr int PLACE_PX = 16;
constexpr int PLACES = SCREEN_W_PX / PLACE_PX + 1;
struct Gains {
    float left[PLACES];
    float right[PLACES];
};

const Gains& speaker_gains() {
    static const Gains gains = [] {
        Gains g;
        for (int i = 0; i < PLACES; ++i) {
            const float right =
                PAN_EDGE + (1.0f - 2.0f * PAN_EDGE) * (static_cast<float>(i) / (PLACES - 1));
            g.left[i] = std::sqrt(1.0f - right);
            g.right[i] = std::sqrt(right);
        }
        return g;
    }();
    return gains;
}

// Square roots are exact in every floating-point unit, so n^(3/8) is worked out from them.
void strike_bars(float volume) {
    float loudness[SWARM_COUNT] = {};
    if (heard.frames_heard < FADE_IN_FRAMES) ++heard.frames_heard;
    const float level = volume * static_cast<float>(heard.frames_heard) / FADE_IN_FRAMES;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const int n = peaks.per_swarm[s];
        heard.counted[s] = heard.counted[s] * STILL_RINGING + static_cast<float>(n);
        heard.recent[s] = heard.recent[s] * STILL_RECENT + static_cast<float>(n);
        if (n == 0) continue;
        const float quarter = std::sqrt(std::sqrt(heard.counted[s]));
        const float root = std::sqrt(static_cast<float>(n) / heard.recent[s]);
        const float together = root * std::sqrt(root);  // the share to the 3/4
        loudness[s] = level * together * LONE_STRIKE * std::sqrt(quarter * quarter * quarter) /
                      heard.counted[s];
    }
    const Gains& gains = speaker_gains();
    const float across = static_cast<float>(SCREEN_W_PX) / static_cast<float>(field_w_px);
    for (int i = 0; i < peaks.count; ++i) {
        const BlinkPeak& p = peaks.peak[i];
        // Any field's width is heard across the same speakers: its place as on a field of the
        // default width (the factor is exactly 1 there). Positions are kept within the field;
        // one outside still finds an edge.
        const float x = p.x * across;
        const int place = x >= 0.0f && x < SCREEN_W_PX ? static_cast<int>(x) / PLACE_PX
                          : x >= SCREEN_W_PX           ? PLACES - 1
                                                       : 0;
        const int point = static_cast<int>(p.when * (STRIKE_POINTS - 1));
        const float a = loudness[p.swarm];
        strike_voice(p.swarm, point, a * gains.left[place], a * gains.right[place]);
    }
}

// Writes, for each n, the samples of a[n], b[n], c[n] and d[n] one after the other.
void interleave(const float* a, const float* b, const float* c, const float* d, int16_t* out) {
    const auto sample = [](float x) {
        return static_cast<int16_t>(static_cast<int32_t>(x + LIFT) - LIFTED_ZERO);
    };
    for (int n = 0; n < VOICE_FRAME_SAMPLES; ++n) {
        out[4 * n] = sample(a[n]);
        out[4 * n + 1] = sample(b[n]);
        out[4 * n + 2] = sample(c[n]);
        out[4 * n + 3] = sample(d[n]);
    }
}

// Fades, limits, and doubles the rate: each voice sample gives two output samples, the mean of
// it and the one before, and itself. The loops are plain passes over whole arrays, which the
// compiler does several samples at a time; the limit bends only frames that reach its knee.
void write_samples(VoiceMix& mix, FrameSound& out, float gain_to) {
    auto& voice = mix.channel;
    if (heard.last_gain != gain_to) {
        for (int n = 0; n < VOICE_FRAME_SAMPLES; ++n) {
            const float gain =
                heard.last_gain +
                (gain_to - heard.last_gain) * (static_cast<float>(n + 1) / VOICE_FRAME_SAMPLES);
            voice[0][n] *= gain;
            voice[1][n] *= gain;
        }
    }
    for (float* v : voice) {
        int over = 0;
        for (int n = 0; n < VOICE_FRAME_SAMPLES; ++n) over |= std::fabs(v[n]) > KNEE ? 1 : 0;
        if (over != 0)
            for (int n = 0; n < VOICE_FRAME_SAMPLES; ++n) v[n] = soft_limit(v[n]);
    }
    static float between[SOUND_CHANNELS][VOICE_FRAME_SAMPLES];
    for (int c = 0; c < SOUND_CHANNELS; ++c) {
        const float* v = voice[c];
        between[c][0] = 0.5f * (heard.last_sample[c] + v[0]);
        for (int n = 1; n < VOICE_FRAME_SAMPLES; ++n) between[c][n] = 0.5f * (v[n - 1] + v[n]);
        heard.last_sample[c] = v[VOICE_FRAME_SAMPLES - 1];
    }
    interleave(between[0], between[1], voice[0], voice[1], out.samples);
    heard.last_gain = gain_to;
}

}  // namespace

void make_frame_sound(FrameSound& out, bool on, float volume) {
    find_blink_peaks(heard.memory, peaks);
    strike_bars(volume);
    const bool audible = on || heard.last_gain > 0.0f;
    VoiceMix& mix = play_voices(audible);
    if (audible) {
        write_samples(mix, out, on ? 1.0f : 0.0f);
    } else {
        for (int16_t& v : out.samples) v = 0;
    }
}

void forget_sound() {
    heard = Heard{};
    forget_voices();
}
