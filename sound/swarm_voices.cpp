#include "sound/swarm_voices.h"

#include <cmath>

namespace {

constexpr int CHANNELS = 2;  // left, right

// How long a note rings: the time it takes to fall to 1/e, in seconds.
constexpr double RING_S = 0.06;

// A bar rings on as long as its amplitude in either speaker reaches this, in sample units.
constexpr double AUDIBLE = 0.01;

constexpr double TWO_PI = 6.28318530717958647692;

// Complex numbers with their products written out: the library's complex type leaves the
// rounding of a product or a quotient to the compiler's runtime, which has changed between
// releases.
struct Complex {
    double re, im;
};

Complex times(Complex a, Complex b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
Complex times(double a, Complex b) { return {a * b.re, a * b.im}; }
Complex plus(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
Complex reciprocal(Complex a) {
    const double size = a.re * a.re + a.im * a.im;
    return {a.re / size, -a.im / size};
}

// e^x and e^(ix) by their power series: the arguments here are below 1, and the sums are
// exact to double precision long before the last term.
double exp_series(double x) {
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 30; ++k) {
        term *= x / k;
        sum += term;
    }
    return sum;
}

Complex unit_turn(double x) {
    Complex sum{1.0, 0.0};
    double term = 1.0;
    for (int k = 1; k < 40; ++k) {
        term *= x / k;
        switch (k % 4) {
            case 1:
                sum.im += term;
                break;
            case 2:
                sum.re -= term;
                break;
            case 3:
                sum.im -= term;
                break;
            default:
                sum.re += term;
                break;
        }
    }
    return sum;
}

// A bar struck with amplitude a rings as Im(a z^n) at sample n after the strike, z being its
// turn and decay in one sample: a sine that starts at 0 and dies away. Over a frame its sound
// is Im(A z^n), n counted from the frame's start, A being the sum of its strikes, each moved
// back to the frame's start; at the frame's end A moves on to A z^VOICE_FRAME_SAMPLES. Each
// stretch of STRIKE_SAMPLES samples from point p on sounds Im(B z^j), B = A z^(p
// STRIKE_SAMPLES): the tables are a few hundred numbers, which stay in the nearest cache.
struct Voice {
    float point_re[STRIKE_POINTS];  // z^(point * STRIKE_SAMPLES)
    float point_im[STRIKE_POINTS];
    float step_re[STRIKE_SAMPLES];  // z^j
    float step_im[STRIKE_SAMPLES];
    Complex back_from[STRIKE_POINTS];  // z^-(point * STRIKE_SAMPLES)
    Complex frame_on;                  // z^VOICE_FRAME_SAMPLES
};

struct Bar {
    Complex ring[CHANNELS];  // A in each speaker
    float struck[CHANNELS][STRIKE_POINTS];
    bool struck_at[STRIKE_POINTS];
    bool ringing;
};

Voice voices[SWARM_COUNT];
Bar bars[SWARM_COUNT];
bool voices_made = false;
VoiceMix mix;

void make_voices() {
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const Complex z = times(exp_series(-1.0 / (RING_S * VOICE_RATE_HZ)),
                                unit_turn(TWO_PI * SWARM_PITCH_HZ[s] / VOICE_RATE_HZ));
        Voice& v = voices[s];
        Complex w{1.0, 0.0};
        for (int n = 0; n < VOICE_FRAME_SAMPLES; ++n) {
            if (n % STRIKE_SAMPLES == 0) {
                v.back_from[n / STRIKE_SAMPLES] = reciprocal(w);
                v.point_re[n / STRIKE_SAMPLES] = static_cast<float>(w.re);
                v.point_im[n / STRIKE_SAMPLES] = static_cast<float>(w.im);
            }
            if (n < STRIKE_SAMPLES) {
                v.step_re[n] = static_cast<float>(w.re);
                v.step_im[n] = static_cast<float>(w.im);
            }
            w = times(w, z);
        }
        v.frame_on = w;
    }
    voices_made = true;
}

// Adds Im(b z^j) to out[j] over a stretch.
void add_stretch(float* out, const Voice& v, float b_re, float b_im) {
    for (int j = 0; j < STRIKE_SAMPLES; ++j) out[j] += b_re * v.step_im[j] + b_im * v.step_re[j];
}

// Adds swarm s's bar to the mix for the frame, taking in its strikes where they come. Between
// strikes the amplitudes stay, so each stretch of STRIKE_SAMPLES samples is worked out with
// them fixed.
void ring_frame(int s, bool heard) {
    Bar& bar = bars[s];
    float amplitude[CHANNELS][2] = {};
    for (int point = 0; point < STRIKE_POINTS; ++point) {
        if (point == 0 || bar.struck_at[point]) {
            for (int c = 0; c < CHANNELS; ++c) {
                if (bar.struck_at[point])
                    bar.ring[c] =
                        plus(bar.ring[c], times(bar.struck[c][point], voices[s].back_from[point]));
                amplitude[c][0] = static_cast<float>(bar.ring[c].re);
                amplitude[c][1] = static_cast<float>(bar.ring[c].im);
            }
            bar.struck_at[point] = false;
        }
        if (!heard) continue;
        const Voice& v = voices[s];
        const float at_re = v.point_re[point], at_im = v.point_im[point];
        for (int c = 0; c < CHANNELS; ++c) {
            const float a_re = amplitude[c][0], a_im = amplitude[c][1];
            add_stretch(mix.channel[c] + point * STRIKE_SAMPLES, v, a_re * at_re - a_im * at_im,
                        a_re * at_im + a_im * at_re);
        }
    }
    bool audible = false;
    for (Complex& a : bar.ring) {
        a = times(a, voices[s].frame_on);
        audible = audible || std::fabs(a.re) >= AUDIBLE || std::fabs(a.im) >= AUDIBLE;
    }
    if (!audible) bar = Bar{};
}

}  // namespace

// A3 and the major pentatonic in just intonation over two octaves: 1, 9/8, 5/4, 3/2, 5/3, 2,
// 9/4, 5/2, 3.
const double SWARM_PITCH_HZ[SWARM_COUNT] = {
    0.0, 220.0, 247.5, 275.0, 330.0, 220.0 * 5.0 / 3.0, 440.0, 495.0, 550.0, 660.0,
};

void strike_voice(int swarm, int point, float left, float right) {
    Bar& bar = bars[swarm];
    if (!bar.struck_at[point]) {
        bar.struck_at[point] = true;
        bar.struck[0][point] = 0.0f;
        bar.struck[1][point] = 0.0f;
    }
    bar.struck[0][point] += left;
    bar.struck[1][point] += right;
    bar.ringing = true;
}

VoiceMix& play_voices(bool heard) {
    if (!voices_made) make_voices();
    mix = VoiceMix{};
    for (int s = 1; s < SWARM_COUNT; ++s)
        if (bars[s].ringing) ring_frame(s, heard);
    return mix;
}

void forget_voices() {
    for (Bar& bar : bars) bar = Bar{};
}
