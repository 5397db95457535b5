#include "render/screen_notes.h"

#include <allegro.h>

#include "render/media.h"
#include "render/shade.h"
#include "sim/world.h"

constexpr int NOTE_LINE_PX = 12;

void draw_title_note(BITMAP* bmp, const char* const* lines, int count) {
    // Above the title's own lines, at the top of the screen.
    const int top = 8;
    darken_box(bmp, 0, 0, field_w_px - 1, top + count * NOTE_LINE_PX + 2);
    for (int i = 0; i < count; ++i) {
        textout_centre_ex(bmp, ui_font, lines[i], field_w_px / 2, top + i * NOTE_LINE_PX,
                          makecol(255, 214, 110), -1);
    }
}

void draw_watch_note(BITMAP* bmp, const char* text) {
    darken_box(bmp, 0, 0, field_w_px - 1, 15);
    textout_ex(bmp, ui_font, text, 8, 4, makecol(225, 230, 236), -1);
}
