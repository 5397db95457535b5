#include "render/status_line.h"

#include <allegro.h>

#include "render/media.h"
#include "sim/world.h"

void draw_status_line(BITMAP* bmp, const char* text) {
    // The text is drawn as it stands, never used as a format; the library's own formatting
    // would allocate in every frame.
    textout_centre_ex(bmp, ui_font, text, bmp->w / 2, STATUS_LINE_TOP, makecol(255, 255, 255),
                      -1);
}
