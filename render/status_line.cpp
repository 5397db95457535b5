#include "render/status_line.h"

#include <allegro.h>

#include "render/overlay_place.h"
#include "sim/world.h"

void draw_status_line(BITMAP* bmp, const char* text, int scale) {
    // The text is drawn as it stands, never used as a format; the library's own formatting
    // would allocate in every frame.
    const OverlayPlace p = overlay_place(bmp->w, bmp->h, scale, Anchor::BOTTOM_CENTRE);
    place_text(bmp, p, text, SCREEN_W_PX / 2, STATUS_LINE_TOP, makecol(255, 255, 255),
               Align::CENTRE);
}
