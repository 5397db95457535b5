#include "sound/blink_peaks.h"

#include <cstring>

#include "sim/simd_switch.h"

namespace {

constexpr int QUARTER_SHIFT = 4;
constexpr uint8_t ARMED = 1 << 6;
constexpr uint8_t SWARM_BITS = 0x0f;
// Swarm numbers from 1 up to this make sound; anything else in the table (which holds only 0
// to 9) is taken for no firefly.
constexpr float LAST_SWARM_AND_ONE = static_cast<float>(SWARM_COUNT);
constexpr float QUARTERS_PER_RADIAN = static_cast<float>(2.0 / 3.14159265358979323846);

constexpr double HALF_PI = 1.57079632679489661923;
constexpr double TWO_PI = 6.28318530717958647692;

// The most a firefly's own blink moves in a frame, radians: one frame's largest advance.
constexpr double MOST_A_FRAME = 0.1;

constexpr bool rising(int q) { return ((q + 1) & 2) == 0; }  // quarters 0 and 3
constexpr bool bright(int q) { return (q & 2) == 0; }        // quarters 0 and 1

// Plain arithmetic and truncation only, so the answer does not depend on the C library.
// Phases here are 0 or more, so 3 pi / 2 on top makes the truncation a floor.
float when_peaked(float phase) {
    const double past = static_cast<double>(phase) + 3.0 * HALF_PI;
    const double turns = static_cast<double>(static_cast<int64_t>(past * (1.0 / TWO_PI)));
    const double since_peak = past - turns * TWO_PI;
    if (!(since_peak < MOST_A_FRAME)) return 0.0f;
    return static_cast<float>(1.0 - since_peak * (1.0 / MOST_A_FRAME));
}

// One slot: its byte for this frame, given its byte for the frame before; sets `sounds`.
uint8_t follow_slot(const Firefly& f, uint8_t last, bool& sounds) {
    sounds = false;
    const float phase = f.glow_phase;
    if (!(f.swarm >= 1.0f && f.swarm < LAST_SWARM_AND_ONE && phase >= 0.0f && phase < PHASE_LIMIT))
        return 0;
    // Swarm numbers are the whole numbers 0 to 9, so the truncation is exact.
    const int s = static_cast<int>(f.swarm);
    const int q = static_cast<int>(phase * QUARTERS_PER_RADIAN) & 3;
    const int now = s | q << QUARTER_SHIFT;
    // A new firefly, or one of another swarm, starts afresh.
    const bool same = ((now ^ last) & SWARM_BITS) == 0;
    const int before = (last >> QUARTER_SHIFT) & 3;
    const bool was_armed = (last & ARMED) != 0;
    sounds = same && was_armed && rising(before) && !rising(q) && (bright(before) || bright(q));
    const bool armed = !same || !bright(q) || (was_armed && !sounds);
    return static_cast<uint8_t>(now | (armed ? ARMED : 0));
}

// Fills in each listed peak's swarm, place and moment, and the counts per swarm.
void describe_peaks(BlinkPeaks& out) {
    for (int32_t& n : out.per_swarm) n = 0;
    for (int k = 0; k < out.count; ++k) {
        BlinkPeak& p = out.peak[k];
        const Firefly& f = fireflies[p.slot];
        p.swarm = static_cast<int32_t>(f.swarm);
        p.x = f.x;
        p.when = when_peaked(f.glow_phase);
        ++out.per_swarm[p.swarm];
    }
}

#if LUMORA_SSE2
// Four slots from `first` on, the same steps as follow_slot in 32-bit lanes; returns the lanes
// that sound as bits.
int follow_four(const Firefly* f, uint8_t* memory) {
    const __m128 phase =
        _mm_setr_ps(f[0].glow_phase, f[1].glow_phase, f[2].glow_phase, f[3].glow_phase);
    const __m128 swarm = _mm_setr_ps(f[0].swarm, f[1].swarm, f[2].swarm, f[3].swarm);
    const __m128 swarm_ok = _mm_and_ps(_mm_cmpge_ps(swarm, _mm_set1_ps(1.0f)),
                                       _mm_cmplt_ps(swarm, _mm_set1_ps(LAST_SWARM_AND_ONE)));
    const __m128 phase_ok = _mm_and_ps(_mm_cmpge_ps(phase, _mm_setzero_ps()),
                                       _mm_cmplt_ps(phase, _mm_set1_ps(PHASE_LIMIT)));
    const __m128i usable = _mm_castps_si128(_mm_and_ps(swarm_ok, phase_ok));
    const __m128i three = _mm_set1_epi32(3);
    const __m128i two = _mm_set1_epi32(2);
    const __m128i zero = _mm_setzero_si128();
    // Lanes that are not usable may hold anything here; the mask clears them below.
    const __m128i q =
        _mm_and_si128(_mm_cvttps_epi32(_mm_mul_ps(phase, _mm_set1_ps(QUARTERS_PER_RADIAN))), three);
    const __m128i now = _mm_and_si128(
        _mm_or_si128(_mm_cvttps_epi32(swarm), _mm_slli_epi32(q, QUARTER_SHIFT)), usable);
    int32_t packed;
    std::memcpy(&packed, memory, sizeof packed);
    const __m128i last =
        _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(packed), zero), zero);
    const __m128i same =
        _mm_cmpeq_epi32(_mm_and_si128(_mm_xor_si128(now, last), _mm_set1_epi32(SWARM_BITS)), zero);
    const __m128i before = _mm_and_si128(_mm_srli_epi32(last, QUARTER_SHIFT), three);
    const __m128i was_armed =
        _mm_cmpeq_epi32(_mm_and_si128(last, _mm_set1_epi32(ARMED)), _mm_set1_epi32(ARMED));
    const auto is_rising = [&](__m128i x) {
        return _mm_cmpeq_epi32(_mm_and_si128(_mm_add_epi32(x, _mm_set1_epi32(1)), two), zero);
    };
    const auto is_bright = [&](__m128i x) { return _mm_cmpeq_epi32(_mm_and_si128(x, two), zero); };
    const __m128i bright_now = is_bright(q);
    const __m128i kept = _mm_and_si128(_mm_and_si128(usable, same), was_armed);
    const __m128i sounds =
        _mm_and_si128(_mm_andnot_si128(is_rising(q), _mm_and_si128(kept, is_rising(before))),
                      _mm_or_si128(is_bright(before), bright_now));
    // Usable and not (the same swarm, bright, and not armed on): !same || !bright || armed on.
    const __m128i armed_on = _mm_andnot_si128(sounds, was_armed);
    const __m128i armed =
        _mm_andnot_si128(_mm_andnot_si128(armed_on, _mm_and_si128(same, bright_now)), usable);
    const __m128i state = _mm_or_si128(now, _mm_and_si128(armed, _mm_set1_epi32(ARMED)));
    packed = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(state, zero), zero));
    std::memcpy(memory, &packed, sizeof packed);
    return _mm_movemask_ps(_mm_castsi128_ps(sounds));
}
#endif

}  // namespace

void find_blink_peaks_plain(BlinkMemory& memory, BlinkPeaks& out) {
    out.count = 0;
    for (int i = 0; i < MAX_FIREFLIES; ++i) {
        bool sounds;
        memory.slot[i] = follow_slot(fireflies[i], memory.slot[i], sounds);
        if (sounds) out.peak[out.count++].slot = i;
    }
    describe_peaks(out);
}

void find_blink_peaks(BlinkMemory& memory, BlinkPeaks& out) {
#if LUMORA_SSE2
    static_assert(MAX_FIREFLIES % 4 == 0, "the table goes four slots at a time");
    out.count = 0;
    for (int i = 0; i < MAX_FIREFLIES; i += 4) {
        for (int lanes = follow_four(fireflies + i, memory.slot + i); lanes != 0;
             lanes &= lanes - 1)
            out.peak[out.count++].slot = i + __builtin_ctz(static_cast<unsigned>(lanes));
    }
    describe_peaks(out);
#else
    find_blink_peaks_plain(memory, out);
#endif
}

void forget_blink_peaks(BlinkMemory& memory) { std::memset(memory.slot, 0, sizeof memory.slot); }
