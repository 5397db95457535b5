// The five mouse cursors: 13x13, black is transparent, anything else is drawn white, and
// pixel (6,6) sits on the mouse position.

#include "assets/generator/drawing.h"
#include "assets/generator/media.h"

// Lure: a sparkle with a hollow middle. The program draws the lured swarm's coloured dots at
// (+-1,0), (0,+-1) and (+-3,+-3) around the hot spot, so those places stay black.
const CursorArt LURE_ART = {
    "......X......",  //
    "......X......",  //
    "..X...X...X..",  //
    "......X......",  //
    "....X.X.X....",  //
    ".............",  //
    "XXXXX...XXXXX",  //
    ".............",  //
    "....X.X.X....",  //
    "......X......",  //
    "..X...X...X..",  //
    "......X......",  //
    "......X......",  //
};

// Repel ("hill"): four arrows pointing away from the mouse.
const CursorArt HILL_ART = {
    "......X......",  //
    ".....XXX.....",  //
    "....X.X.X....",  //
    "......X......",  //
    "..X...X...X..",  //
    ".X.........X.",  //
    "XXXXX.X.XXXXX",  //
    ".X.........X.",  //
    "..X...X...X..",  //
    "......X......",  //
    "....X.X.X....",  //
    ".....XXX.....",  //
    "......X......",  //
};

// Attract ("hole"): four arrows pointing in at the mouse.
const CursorArt HOLE_ART = {
    "......X......",  //
    "......X......",  //
    "....X.X.X....",  //
    ".....XXX.....",  //
    "..X...X...X..",  //
    "...X.....X...",  //
    "XXXXX.X.XXXXX",  //
    "...X.....X...",  //
    "..X...X...X..",  //
    ".....XXX.....",  //
    "....X.X.X....",  //
    "......X......",  //
    "......X......",  //
};

// Clockwise swirl: a ring whose arrowhead at the top points right (screen y grows downwards,
// so moving right along the top is clockwise). The counter-clockwise cursor is its mirror.
const CursorArt SWIRL_CLOCKWISE_ART = {
    "......X......",  //
    "......XX.....",  //
    "....XXXXX....",  //
    "...X..XX.....",  //
    "..X...X......",  //
    "..X.......X..",  //
    "..X.......X..",  //
    "..X.......X..",  //
    "..X.......X..",  //
    "...X.....X...",  //
    "....XXXXX....",  //
    ".............",  //
    ".............",  //
};

Canvas make_cursor(const CursorArt& art, bool mirrored) {
    Canvas c(13, 13);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            if (art[y][mirrored ? 12 - x : x] == 'X') c.at(x, y) = Rgb{255, 255, 255};
    return c;
}
