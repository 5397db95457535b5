#include "render/media.h"

FONT* ui_font = nullptr;
BITMAP* shine_image = nullptr;
BITMAP* cursor_images[CURSOR_COUNT];
int32_t shine_kernel[10][10];
