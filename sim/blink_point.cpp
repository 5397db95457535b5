#include "sim/blink_point.h"

BlinkPoint blink_points[MAX_FIREFLIES];

void forget_blink_points() {
    for (BlinkPoint& p : blink_points) p.known = false;
}
