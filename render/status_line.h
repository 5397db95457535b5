// The status line: a short message centred at the bottom of the picture.
#pragma once

struct BITMAP;

// The top row of the message's text; whatever is drawn near the bottom keeps above it.
constexpr int STATUS_LINE_TOP = 758;

// Draws text centred on the status line, in white and with nothing behind it.
void draw_status_line(BITMAP* bmp, const char* text);
