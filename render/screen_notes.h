// Lines written over a picture that is shown but never kept: the title screen's word on the
// file the program was asked to open, and the note over a replay being watched. They go onto
// the screen, or onto the title's picture, never into a frame's picture.
#pragma once

struct BITMAP;

// Lines at the top of the title screen, one under the other, on a darkened band.
void draw_title_note(BITMAP* bmp, const char* const* lines, int count);

// A line at the top of the picture, on a darkened band: the replay's place and its keys.
void draw_watch_note(BITMAP* bmp, const char* text);
