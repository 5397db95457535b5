// What the generator makes: one maker for each file lumora loads at start-up. main.cpp names
// the files and writes them all; the drawing helpers they share are in drawing.h.
#pragma once

#include <string>

#include "assets/generator/drawing.h"
#include "sim/world.h"

// The colours of swarms 1 to 9: the default settings give them to the swarms, and the title's
// decorative fireflies glow in them (default_settings.cpp).
extern const Rgb SWARM_COLOURS[9];

// The floor the fireflies fly over, 1024x768 (wood.cpp).
Canvas make_wood();

// The start screen with the name and the controls, 1024x768 (title.cpp).
Canvas make_title();

// The glow stamped around every firefly, 10x10 (shine.cpp).
Canvas make_shine();

// A cursor's picture as 13 rows of 13 characters, 'X' for a lit pixel (cursors.cpp).
using CursorArt = const char* [13];
extern const CursorArt LURE_ART;             // lure the selected swarm
extern const CursorArt HILL_ART;             // repel: arrows pointing away
extern const CursorArt HOLE_ART;             // attract: arrows pointing in
extern const CursorArt SWIRL_CLOCKWISE_ART;  // swirl; mirrored for counter-clockwise
Canvas make_cursor(const CursorArt& art, bool mirrored);

// The panel font as a picture of framed glyph cells (panel_font.cpp).
bool write_panel_font(const std::string& path);

// The swarm table lumora starts with, in the settings file format (default_settings.cpp).
bool write_default_settings(const std::string& path);

// One swarm of a settings file the generator writes: the fields a user edits, in the order of
// SWARM_FIELD_TABLE (the panel's, top to bottom) and in the units of Swarm.
struct SwarmRow {
    int32_t value[EDITABLE_FIELDS];
};

// Writes swarms 1 to 9 from rows through the program's own settings writer: record 0 a dim
// grey, every field not in a row 0, and a swarm without members following itself so that its
// panel shows no stray chase. Says on standard error when it fails (default_settings.cpp).
bool write_swarm_rows(const std::string& path, const SwarmRow (&rows)[9]);

// The program's icon as a 48x48 picture and as the same scene in a scalable drawing's text
// (icon.cpp).
Canvas make_icon();
std::string make_icon_svg();

// The curated presets, N-name.sav for N from 1, in the folder dir, made if missing
// (presets.cpp).
bool write_presets(const std::string& dir);
