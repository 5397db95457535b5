// shine.bmp: the glow stamped around every firefly.

#include <algorithm>
#include <cmath>

#include "assets/generator/drawing.h"
#include "assets/generator/media.h"

// The program reads weight = trunc(red / 25) from the top-left 10x10 pixels, centred between
// pixels 4 and 5. A Gaussian scaled past 255 gives the four middle pixels full weight 10 and
// fades to weight 0 in the corners. Green and blue repeat red so the file looks like a glow.
Canvas make_shine() {
    Canvas c(10, 10);
    const double sigma = 2.2;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const double dx = x - 4.5, dy = y - 4.5;
            const double v =
                std::min(255.0, 275.0 * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma)));
            c.at(x, y) = Rgb{v, v, v};
        }
    }
    return c;
}
