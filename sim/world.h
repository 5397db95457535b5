// The simulated world: the firefly table and the swarm table. One instance, static lifetime,
// read and written directly by the simulation and by everything built on it.
#pragma once

#include <cstdint>

constexpr int MAX_FIREFLIES = 2000;  // slots in `fireflies`
constexpr int SWARM_COUNT = 10;      // records in `swarms`; 0 is no swarm, 1 to 9 are usable
constexpr int SWARM_FIELDS = 20;     // integers in one swarm record
constexpr int SCREEN_W_PX = 1024;    // width of the screen, the back buffer and the world
constexpr int SCREEN_H_PX = 768;     // height of the same

// Every field is single precision, also those that hold whole numbers. A slot is live while
// `swarm` is above 0.0; freeing a slot writes only `swarm`.
struct Firefly {
    float swarm;            // owning swarm 1 to 9; 0.0 marks a free slot
    float x;                // pixels
    float y;                // pixels
    float heading;          // degrees, 0 along +x, 90 down the screen
    float speed;            // pixels per frame
    float target_distance;  // pixels to the neighbour last chosen by steering
    float target_turn;      // whole degrees to turn towards that neighbour
    float flutter_phase;    // radians, drives the sideways wobble
    float glow_phase;       // radians, brightness is (sin + 1) / 2
    float steer;            // whole pixels to this frame's chosen neighbour, 0.0 for none
    float wander_side;      // 1.0 circles anticlockwise, anything else clockwise
};

// Twenty signed 32-bit values, stored in the settings file in this order. Fields 0 and 13 to
// 19 carry no meaning; they only travel through the file.
struct Swarm {
    int32_t spare_0;
    int32_t highest_speed;  // pixels per frame
    int32_t lowest_speed;   // pixels per frame
    int32_t turning_speed;  // degrees per frame
    int32_t field_of_view;  // half-angle in degrees
    int32_t acceleration;   // tenths of a pixel per frame
    int32_t braking;        // tenths of a pixel per frame
    int32_t color_red;
    int32_t color_green;
    int32_t color_blue;
    int32_t population;     // live fireflies wanted
    int32_t target_swarm;   // swarm whose members are pursued
    int32_t communication;  // glow coupling radius in tenths of a pixel
    int32_t spare_13;
    int32_t spare_14;
    int32_t spare_15;
    int32_t spare_16;
    int32_t spare_17;
    int32_t spare_18;
    int32_t spare_19;
};

// Field f of a record, by its index in the settings file.
extern int32_t Swarm::*const SWARM_FIELD[SWARM_FIELDS];

inline int32_t& swarm_field(Swarm& s, int f) { return s.*SWARM_FIELD[f]; }
inline int32_t swarm_field(const Swarm& s, int f) { return s.*SWARM_FIELD[f]; }

extern Firefly fireflies[MAX_FIREFLIES];
extern Swarm swarms[SWARM_COUNT];

// Whether the slot holds a firefly. Only 0.0 and the swarm numbers 1 to 9 are ever stored, so
// a slot that is not live is free.
inline bool is_live(const Firefly& f) { return f.swarm > 0.0f; }

// The swarm record of a firefly. Swarm numbers are stored only as the whole numbers 0 to 9,
// so the truncation is exact and always names a record.
inline Swarm& swarm_of(const Firefly& f) { return swarms[static_cast<int>(f.swarm)]; }

// Degree and radian conversions, rounded to single precision.
constexpr float DEG_TO_RAD = static_cast<float>(3.14159265358979323846 / 180.0);
constexpr float RAD_TO_DEG = static_cast<float>(180.0 / 3.14159265358979323846);

// Puts the world back to its state at program load: every slot and record zero, the random
// generator at its first seed and the fast steering's remembered choices forgotten.
void clear_world();
