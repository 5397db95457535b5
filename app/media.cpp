#include "render/media.h"

#include <allegro.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/shell.h"
#include "files/path.h"
#include "sim/world.h"

BITMAP* title_image = nullptr;
BITMAP* background_image = nullptr;

static const char* const CURSOR_FILES[CURSOR_COUNT] = {"c_att.bmp", "c_hill.bmp", "c_hole.bmp",
                                                       "c_tr.bmp", "c_tl.bmp"};

// Loads a picture converted to the current colour depth, without a palette. A path too long
// to build is a picture that cannot be read.
static BITMAP* load_picture(const char* dir, const char* name) {
    char path[PATH_SIZE];
    return join_path(path, dir, name) ? load_bitmap(path, nullptr) : nullptr;
}

void fail_to_start(const char* program, const char* file, const char* hint) {
    std::fprintf(stderr, "%s cannot start: the file \"%s\" is missing or cannot be read.\n",
                 program, file);
    if (hint != nullptr) std::fprintf(stderr, "%s\n", hint);
    // A program with a window says it in a message box too, which a user who started it from
    // the desktop sees; without one the library would print it on standard output.
    if (screen != nullptr) {
        allegro_message("%s cannot start: the file \"%s\" is missing or cannot be read.\n", program,
                        file);
    }
    std::exit(1);
}

bool load_startup_media(const char* dir, const char*& failed) {
    char path[PATH_SIZE];
    ui_font = join_path(path, dir, "myfont.pcx") ? load_font(path, nullptr, nullptr) : nullptr;
    if (ui_font == nullptr) {
        failed = "myfont.pcx";
        return false;
    }
    shine_image = load_picture(dir, "shine.bmp");
    if (shine_image == nullptr) {
        failed = "shine.bmp";
        return false;
    }
    for (int i = 0; i < CURSOR_COUNT; ++i) {
        cursor_images[i] = load_picture(dir, CURSOR_FILES[i]);
        if (cursor_images[i] == nullptr) {
            failed = CURSOR_FILES[i];
            return false;
        }
    }
    return true;
}

bool load_loop_pictures(const char* dir, const char*& failed) {
    title_image = load_picture(dir, "title.bmp");
    if (title_image == nullptr) {
        failed = "title.bmp";
        return false;
    }
    background_image = load_picture(dir, "wood.bmp");
    if (background_image == nullptr) {
        failed = "wood.bmp";
        return false;
    }
    return true;
}

void fill_shine_kernel() {
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y) {
            // A shine picture smaller than 10 by 10 has no pixel for the outer cells: they
            // add no light.
            if (x >= shine_image->w || y >= shine_image->h) {
                shine_kernel[x][y] = 0;
                continue;
            }
            const int r = getr(getpixel(shine_image, x, y));
            shine_kernel[x][y] = static_cast<int>(r / 25.0);
        }
    }
}

// The background scaled once to the picture size; pixels that scaling skips as the mask
// colour keep the mask colour here, so a masked copy skips exactly the same pixels.
static struct {
    BITMAP* picture = nullptr;
    bool has_mask = false;  // it cannot stand in for the scaled picture by a plain copy
} scaled_background;

bool prepare_background() {
    if (scaled_background.picture != nullptr) destroy_bitmap(scaled_background.picture);
    scaled_background.picture = create_bitmap(field_w_px, field_h_px);
    if (scaled_background.picture == nullptr) return false;
    const int mask = bitmap_mask_color(scaled_background.picture);
    clear_to_color(scaled_background.picture, mask);
    stretch_sprite(scaled_background.picture, background_image, 0, 0, field_w_px, field_h_px);
    scaled_background.has_mask = false;
    for (int y = 0; y < field_h_px && !scaled_background.has_mask; ++y) {
        for (int x = 0; x < field_w_px; ++x) {
            if (getpixel(scaled_background.picture, x, y) == mask) {
                scaled_background.has_mask = true;
                break;
            }
        }
    }
    return true;
}

BITMAP* plain_background() {
    return scaled_background.has_mask ? nullptr : scaled_background.picture;
}

void draw_background(BITMAP* back_buffer, bool reference) {
    if (reference || scaled_background.picture == nullptr) {
        stretch_sprite(back_buffer, background_image, 0, 0, field_w_px, field_h_px);
    } else if (scaled_background.has_mask) {
        masked_blit(scaled_background.picture, back_buffer, 0, 0, 0, 0, field_w_px, field_h_px);
    } else {
        blit(scaled_background.picture, back_buffer, 0, 0, 0, 0, field_w_px, field_h_px);
    }
}
