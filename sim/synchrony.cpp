#include "sim/synchrony.h"

#include <cmath>
#include <limits>
#include <utility>

#include "sim/blink_point.h"

namespace {

// Sums of the unit points of a group of fireflies.
struct PhaseSum {
    int32_t count = 0;
    double cos_sum = 0.0;
    double sin_sum = 0.0;
};

// A phase that is not a number makes the order not a number. Which sign such a sum carries
// depends on the order the compiler adds its operands in, so every one comes out as the same
// quiet NaN: the measures then have the same bits however they were worked out.
double order_of(const PhaseSum& a, const PhaseSum& b = PhaseSum{}) {
    const int32_t n = a.count + b.count;
    if (n == 0) return 0.0;
    const double order = std::hypot(a.cos_sum + b.cos_sum, a.sin_sum + b.sin_sum) / n;
    return std::isnan(order) ? std::numeric_limits<double>::quiet_NaN() : order;
}

// Sums every live firefly's point into its swarm and into the whole table, in slot order, and
// works out the measures from the sums. point_of(i) gives slot i's cosine and sine.
template <typename PointOf>
void measure_with(Synchrony& out, PointOf point_of) {
    PhaseSum sums[SWARM_COUNT];
    PhaseSum all;
    int32_t flashing[SWARM_COUNT] = {};
    for (int i = 0; i < firefly_capacity; ++i) {
        const Firefly& f = fireflies[i];
        if (!is_live(f)) continue;
        // Live fireflies hold the whole numbers 1 to 9; anything else belongs to no swarm.
        const int s = f.swarm < static_cast<float>(SWARM_COUNT) ? static_cast<int>(f.swarm) : 0;
        const auto [c, sn] = point_of(i);
        all.count += 1;
        all.cos_sum += c;
        all.sin_sum += sn;
        if (s < 1 || static_cast<float>(s) != f.swarm) continue;
        sums[s].count += 1;
        sums[s].cos_sum += c;
        sums[s].sin_sum += sn;
        if (sn > 0.0) ++flashing[s];
    }
    out.global_order = order_of(all);
    out.swarm[0] = SwarmSynchrony{};
    for (int s = 1; s < SWARM_COUNT; ++s) {
        SwarmSynchrony& m = out.swarm[s];
        m.population = sums[s].count;
        m.flashing = flashing[s];
        m.order = order_of(sums[s]);
        const int32_t t = swarms[s].target_swarm;
        if (t == s) {
            m.lock = m.order;
        } else if (t >= 1 && t < SWARM_COUNT) {
            m.lock = order_of(sums[s], sums[t]);
        } else {
            m.lock = 0.0;
        }
    }
}

}  // namespace

void measure_synchrony(Synchrony& out) {
    measure_with(out, [](int i) {
        const BlinkPoint& p = blink_point(i);
        return std::pair<double, double>(p.cosine, p.sine);
    });
}

void measure_synchrony_plain(Synchrony& out) {
    measure_with(out, [](int i) {
        const double phase = fireflies[i].glow_phase;
        return std::pair<double, double>(std::cos(phase), std::sin(phase));
    });
}

void record_order(OrderHistory& history, const Synchrony& measured) {
    history.swarm_order[history.next][0] = 0.0f;
    for (int s = 1; s < SWARM_COUNT; ++s)
        history.swarm_order[history.next][s] = static_cast<float>(measured.swarm[s].order);
    history.global_order[history.next] = static_cast<float>(measured.global_order);
    history.next = (history.next + 1) % ORDER_HISTORY_FRAMES;
    if (history.count < ORDER_HISTORY_FRAMES) ++history.count;
}

SyncTimer make_sync_timer() {
    SyncTimer timer;
    for (int s = 0; s < SWARM_COUNT; ++s) {
        timer.run_start[s] = -1;
        timer.sync_frame[s] = -1;
    }
    return timer;
}

void track_synchrony(SyncTimer& timer, int64_t frame, const Synchrony& measured) {
    for (int s = 1; s < SWARM_COUNT; ++s) {
        if (!(measured.swarm[s].order >= SYNC_ORDER)) {
            timer.run_start[s] = -1;
            continue;
        }
        if (timer.run_start[s] < 0) timer.run_start[s] = frame;
        if (timer.sync_frame[s] < 0 && frame - timer.run_start[s] + 1 >= SYNC_HOLD_FRAMES)
            timer.sync_frame[s] = timer.run_start[s];
    }
}
