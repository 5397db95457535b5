// Geometry and random helpers: a random integer in a range, moving a point along a compass
// direction, and measuring distance, direction and turn. Angles are degrees from +x towards
// +y; screen y grows downwards, so a growing angle turns clockwise on the screen.
//
// Arithmetic runs in double precision and is rounded to single precision where a value is
// stored as float. Every conversion to int truncates towards zero; the one rounding to
// nearest is the distance of `distance_and_bearing`.
#pragma once

#include <cstdint>

// Truncates towards zero, saturating at the int range; NaN gives 0. Extreme settings can push
// positions and headings far past the int range, and the conversion must stay defined.
inline int32_t trunc_to_int(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Clamps a wide intermediate result into the int range.
int32_t saturate_to_int(int64_t v);

// An int from lo to hi inclusive; hi comes only from the largest random draw.
int random_range(int lo, int hi);

// Moves (x, y) by dist along angle: x by the cosine, y by the sine.
void step_polar(float& x, float& y, int angle, float dist);

// Rounded distance and direction (-90 to 270) from point 1 to point 2.
void distance_and_bearing(int& dist, int& bearing, float x1, float y1, float x2, float y2);

// Exact distance from point 1 to point 2.
void distance(float& dist, float x1, float y1, float x2, float y2);

// The squared distance that `distance` takes the root of, for the differences dx and dy of
// two positions; a search may compare it before paying for the root.
inline double squared_span(float dx, float dy) {
    return static_cast<double>(dx) * dx + static_cast<double>(dy) * dy;
}

// Direction from point 1 to point 2, -90 to 270; equal points give 270 (straight up).
void bearing(int& bearing, float x1, float y1, float x2, float y2);

// Signed turn from direction a to direction b, brought into -180 to 180 by one shift of 360;
// positive when b lies clockwise of a on the screen.
int angle_difference(int a, int b);
