#include "sim/blink_point.h"

BlinkPoint blink_points[FIREFLIES_MOST];

void forget_blink_points() {
    for (int i = 0; i < firefly_capacity; ++i) blink_points[i].known = false;
}
