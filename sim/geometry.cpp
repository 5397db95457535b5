#include "sim/geometry.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "sim/random.h"
#include "sim/world.h"

// The half turn is this exact decimal, not the full-precision value of pi.
static constexpr double HALF_TURN = 3.14159265359;
static constexpr float STRAIGHT_DOWN = 1.5707964f;  // pi/2 rounded to single precision
static constexpr float STRAIGHT_UP = 4.712389f;     // 3pi/2 rounded to single precision

int32_t saturate_to_int(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

int random_range(int lo, int hi) {
    const float span = static_cast<float>(static_cast<int64_t>(hi) - lo);
    const int r = next_random();
    // Divide first, then scale: hi itself comes only from the largest draw.
    const int64_t offset = trunc_to_int(r / static_cast<double>(RANDOM_MAX) * span);
    return saturate_to_int(lo + offset);
}

// The cosine and sine of every whole angle a firefly's motion or a mouse tool uses, computed
// exactly as for any other angle, so that a look-up gives the same bits as the call.
static constexpr int POLAR_LO = -720;
static constexpr int POLAR_HI = 1080;

static void polar_cos_sin(int angle, double& c, double& s) {
    const float a = static_cast<float>(angle * static_cast<double>(DEG_TO_RAD));
    c = std::cos(static_cast<double>(a));
    s = std::sin(static_cast<double>(a));
}

struct PolarTable {
    double cos[POLAR_HI - POLAR_LO];
    double sin[POLAR_HI - POLAR_LO];
};

// Worked out on first use and never changed.
static const PolarTable& polar_table() {
    static const PolarTable table = [] {
        PolarTable t;
        for (int k = POLAR_LO; k < POLAR_HI; ++k)
            polar_cos_sin(k, t.cos[k - POLAR_LO], t.sin[k - POLAR_LO]);
        return t;
    }();
    return table;
}

void step_polar(float& x, float& y, int angle, float dist) {
    double c, s;
    if (angle >= POLAR_LO && angle < POLAR_HI) {
        const PolarTable& table = polar_table();
        c = table.cos[angle - POLAR_LO];
        s = table.sin[angle - POLAR_LO];
    } else {
        polar_cos_sin(angle, c, s);
    }
    x = static_cast<float>(c * dist + x);
    y = static_cast<float>(s * dist + y);
}

// Direction in radians from the sign of dx, as a float.
static float direction(float dx, float dy) {
    if (dx > 0.0f) return static_cast<float>(std::atan(static_cast<double>(dy) / dx));
    if (dx < 0.0f) return static_cast<float>(std::atan(static_cast<double>(dy) / dx) + HALF_TURN);
    return dy > 0.0f ? STRAIGHT_DOWN : STRAIGHT_UP;
}

// Truncate, do not round: which whole degree a bearing lands on decides which way a firefly
// turns, and a direction a hair short of a whole degree belongs to the degree below.
static int degrees(float radians) {
    return trunc_to_int(static_cast<double>(radians) * static_cast<double>(RAD_TO_DEG));
}

void distance_and_bearing(int& dist, int& bearing, float x1, float y1, float x2, float y2) {
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    dist = trunc_to_int(std::sqrt(squared_span(dx, dy)) + 0.5);
    bearing = degrees(direction(dx, dy));
}

void distance(float& dist, float x1, float y1, float x2, float y2) {
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    dist = static_cast<float>(std::sqrt(squared_span(dx, dy)));
}

void bearing(int& bearing, float x1, float y1, float x2, float y2) {
    bearing = degrees(direction(x2 - x1, y2 - y1));
}

int angle_difference(int a, int b) {
    const int64_t wa = a;
    const int64_t wb = b;
    const int64_t d0 = std::llabs(wa - wb);
    const int64_t d1 = std::llabs(wa + 360 - wb);
    const int64_t d2 = std::llabs(wa - 360 - wb);
    int64_t rep;
    if (d0 < d1) {
        rep = d0 < d2 ? wa : wa - 360;
    } else {
        rep = d1 < d2 ? wa + 360 : wa - 360;
    }
    return saturate_to_int(wb - rep);
}
