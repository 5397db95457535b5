// The status line: a short message centred at the bottom of the picture.
#pragma once

struct BITMAP;

// The top row of the message's text on the 1024 by 768 layout; whatever is drawn near the
// bottom keeps above it.
constexpr int STATUS_LINE_TOP = 758;

// Draws text centred on the status line at the bottom of bmp at the given scale
// (render/overlay_place.h), in white and with nothing behind it.
void draw_status_line(BITMAP* bmp, const char* text, int scale = 1);
