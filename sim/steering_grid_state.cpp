#include "sim/steering_grid_state.h"

#include <type_traits>

SteeringGrid steering_grid;

static_assert(std::is_trivially_copyable<SteeringGrid>::value, "the grid is reset byte by byte");
