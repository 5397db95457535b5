// Packing colours from swarm values, which nothing keeps within 0 to 255.
#pragma once

#include <cstdint>

#include "sim/world.h"

// A channel value brought into 0 to 255.
inline int clamp_channel(int64_t v) { return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v); }

// The colour of a swarm record in the current colour depth, each channel clamped to 0 to 255
// so that an out-of-range value saturates instead of spilling bits into its neighbour.
int swarm_color(const Swarm& s);
