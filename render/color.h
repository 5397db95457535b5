// Packing colours from swarm values, which nothing keeps within 0 to 255.
#pragma once

#include <cstdint>

#include "sim/world.h"

// A channel value brought into 0 to 255.
inline int clamp_channel(int64_t v) { return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v); }

// Packs a colour in the current colour depth with each channel clamped to 0 to 255, so that
// an out-of-range value saturates instead of spilling bits into its neighbour channel.
int makecol_clamped(int64_t r, int64_t g, int64_t b);

// The colour of a swarm record, clamped as above.
int swarm_color(const Swarm& s);
