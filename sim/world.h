// The simulated world: the firefly table and the swarm table. One instance, static lifetime,
// read and written directly by the simulation and by everything built on it.
#pragma once

#include <array>
#include <cstdint>

constexpr int MAX_FIREFLIES = 2000;  // slots in `fireflies` of a run that asks for no other number
constexpr int SWARM_COUNT = 10;      // records in `swarms`; 0 is no swarm, 1 to 9 are usable
constexpr int SWARM_FIELDS = 20;     // integers in one swarm record
constexpr int SCREEN_W_PX =
    1024;  // width of the field, the back buffer and the screen, unless a run asks for another
constexpr int SCREEN_H_PX = 768;  // height of the same

// What a run may ask for: the field's size and the slots of the firefly table. The table and
// everything kept per slot are made for the most slots once, at program load; a run uses the
// first `firefly_capacity` of them.
constexpr int FIREFLIES_LEAST = 1;
constexpr int FIREFLIES_MOST = 50000;
constexpr int FIELD_W_LEAST = 320;
constexpr int FIELD_H_LEAST = 240;
constexpr int FIELD_W_MOST = 7680;
constexpr int FIELD_H_MOST = 4320;

// The run's field and table, set once before its world is reset (set_field) and read by
// everything that walks the table or meets the field's edges.
extern int field_w_px;        // SCREEN_W_PX unless the run asks for another
extern int field_h_px;        // SCREEN_H_PX unless the run asks for another
extern int firefly_capacity;  // MAX_FIREFLIES unless the run asks for another

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

// One field of the swarm record.
struct SwarmField {
    int position;  // index in the record, which is its place in the settings file
    int32_t Swarm::*member;
    const char* name;          // in sweep files, their tables and scripts; null for a spare
    const char* panel_format;  // the panel's line, the value as the last %d; null for a spare
};

constexpr int EDITABLE_FIELDS = 12;  // the fields a user edits, first in SWARM_FIELD_TABLE

// Each swarm field once: its place in the settings record, its member, the name that sweep
// files and tables use, and the panel's label. Everything else reads this table. The fields a
// user edits come first, in the panel's order, line 0 at the top; line 0 also shows the swarm
// number, before the value. The spare fields follow.
// clang-format off
inline constexpr SwarmField SWARM_FIELD_TABLE[SWARM_FIELDS] = {
    {10, &Swarm::population,    "population",    "SWARM %d: %d Fireflies"},
    { 3, &Swarm::turning_speed, "turning_speed", "Turning Speed: %d"},
    { 4, &Swarm::field_of_view, "field_of_view", "Field of View: %d"},
    { 1, &Swarm::highest_speed, "highest_speed", "Highest Speed: %d"},
    { 2, &Swarm::lowest_speed,  "lowest_speed",  "Lowest Speed: %d"},
    { 5, &Swarm::acceleration,  "acceleration",  "Acceleration: %d"},
    { 6, &Swarm::braking,       "braking",       "Braking: %d"},
    { 7, &Swarm::color_red,     "red",           "Color Red: %d"},
    { 8, &Swarm::color_green,   "green",         "Color Green: %d"},
    { 9, &Swarm::color_blue,    "blue",          "Color Blue: %d"},
    {12, &Swarm::communication, "communication", "Communication: %d"},
    {11, &Swarm::target_swarm,  "target_swarm",  "Target Swarm: %d"},
    { 0, &Swarm::spare_0,  nullptr, nullptr},
    {13, &Swarm::spare_13, nullptr, nullptr},
    {14, &Swarm::spare_14, nullptr, nullptr},
    {15, &Swarm::spare_15, nullptr, nullptr},
    {16, &Swarm::spare_16, nullptr, nullptr},
    {17, &Swarm::spare_17, nullptr, nullptr},
    {18, &Swarm::spare_18, nullptr, nullptr},
    {19, &Swarm::spare_19, nullptr, nullptr},
};
// clang-format on

// The member at each position of the record, made from the table.
inline constexpr std::array<int32_t Swarm::*, SWARM_FIELDS> SWARM_FIELD = [] {
    std::array<int32_t Swarm::*, SWARM_FIELDS> at{};
    for (const SwarmField& f : SWARM_FIELD_TABLE) at[f.position] = f.member;
    return at;
}();

// Field f of a record, by its index in the settings file.
inline int32_t& swarm_field(Swarm& s, int f) { return s.*SWARM_FIELD[f]; }
inline int32_t swarm_field(const Swarm& s, int f) { return s.*SWARM_FIELD[f]; }

extern Firefly fireflies[FIREFLIES_MOST];  // the first `firefly_capacity` are in use
extern Swarm swarms[SWARM_COUNT];

// The slots the run uses, for walking them in slot order: for (Firefly& f : slots_in_use()).
struct FireflySlots {
    Firefly* first;
    Firefly* last;
    Firefly* begin() const { return first; }
    Firefly* end() const { return last; }
};
inline FireflySlots slots_in_use() { return {fireflies, fireflies + firefly_capacity}; }

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

// Whether a field of w by h pixels and a table of capacity slots are within what a run may ask.
bool is_field_size(int w, int h);
bool is_firefly_capacity(int capacity);

// Makes the run's field w by h pixels and its table capacity slots, both within the limits
// above; every slot and the fast steering's remembered choices are cleared.
void set_field(int w, int h, int capacity);
