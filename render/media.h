// The font, the shine and the cursor pictures that drawing uses, and the glow kernel taken from
// the shine. Loaded once at start-up and kept until the process ends.
#pragma once

#include <cstdint>

struct BITMAP;
struct FONT;

constexpr int CURSOR_COUNT = 5;  // one cursor picture per mouse tool

extern FONT* ui_font;
extern BITMAP* shine_image;
extern BITMAP* cursor_images[CURSOR_COUNT];
extern int32_t shine_kernel[10][10];  // [column][row], weights 0 to 10
