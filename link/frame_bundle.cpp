#include "link/frame_bundle.h"

#include <cmath>
#include <cstring>

#include "sim/world.h"

namespace {

struct Writer {
    uint8_t* p;
};

void put_32(Writer& w, uint32_t v) {
    w.p[0] = static_cast<uint8_t>(v >> 24);
    w.p[1] = static_cast<uint8_t>(v >> 16);
    w.p[2] = static_cast<uint8_t>(v >> 8);
    w.p[3] = static_cast<uint8_t>(v);
    w.p += 4;
}

void put_int(Writer& w, int32_t v) { put_32(w, static_cast<uint32_t>(v)); }

void put_float(Writer& w, float f) {
    uint32_t v;
    std::memcpy(&v, &f, sizeof v);
    put_32(w, v);
}

// The address and the type tags, each ended by a NUL and padded with NULs to four bytes: every
// address here has 13 characters (16 bytes), and the tags 2 (4 bytes) or 5 (8 bytes).
void put_head(Writer& w, const char* address, const char* tags) {
    const size_t tag_bytes = (std::strlen(tags) + 4) & ~size_t{3};
    std::memset(w.p, 0, 16 + tag_bytes);
    std::memcpy(w.p, address, 13);
    std::memcpy(w.p + 16, tags, std::strlen(tags));
    w.p += 16 + tag_bytes;
}

}  // namespace

void make_frame_bundle(FrameBundle& out, int64_t frame, const Synchrony& synchrony,
                       const BlinkPeaks& peaks) {
    Writer w{out.bytes};
    std::memcpy(w.p, "#bundle\0", 8);
    w.p += 8;
    put_32(w, 0);  // the time tag 1: immediately
    put_32(w, 1);

    put_32(w, 16 + 4 + 4);
    put_head(w, "/lumora/frame", ",i");
    put_int(w, static_cast<int32_t>(static_cast<uint32_t>(frame)));

    for (int s = 1; s < SWARM_COUNT; ++s) {
        const SwarmSynchrony& m = synchrony.swarm[s];
        if (m.population <= 0) continue;
        put_32(w, 24 + 16);
        put_head(w, "/lumora/swarm", ",iiif");
        put_int(w, s);
        put_int(w, m.population);
        put_int(w, peaks.per_swarm[s]);
        put_float(w, static_cast<float>(m.order));
    }

    const int flashes = peaks.count < FLASHES_PER_BUNDLE ? peaks.count : FLASHES_PER_BUNDLE;
    for (int i = 0; i < flashes; ++i) {
        const BlinkPeak& peak = peaks.peak[i];
        const Firefly& f = fireflies[peak.slot];
        put_32(w, 24 + 16);
        put_head(w, "/lumora/flash", ",ifff");
        put_int(w, peak.swarm);
        put_float(w, peak.x);
        put_float(w, f.y);
        put_float(w, (std::sin(f.glow_phase) + 1.0f) * 0.5f);
    }
    out.size = static_cast<size_t>(w.p - out.bytes);
}
