// The swarms a picture carries. Every picture F12 keeps holds, in a PNG text chunk (tEXt) with
// the keyword "lumora-swarms", the swarm table it shows, the random generator's state the
// session started from and the frame it shows, as plain lines that `identify -verbose` lists
// among the picture's properties:
//
//   seed 3735928559                      the random generator before the session's first frame
//   frame 1234                           the frame the picture shows
//   field 1024x768                       the field's size in pixels
//   capacity 2000                        the slots of the firefly table
//   swarm 0 V0 ... V19                   ten lines, records 0 to 9: the swarm table, the
//   ...                                  settings file's values in its order
//   swarm 9 V0 ... V19
//
// A reader takes the ten swarm lines and passes over any line that begins with another word,
// so lines added later do not make older programs refuse a picture. Loading takes the table
// alone: the field and the capacity say what the picture was made with. A picture is read straight
// from its bytes, without the game library or libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/world.h"

constexpr const char* PICTURE_SWARMS_KEYWORD = "lumora-swarms";

// Longest picture read for its swarms: far more than a 1024 by 768 picture takes.
constexpr size_t PICTURE_READ_MAX = size_t{256} << 20;

struct PictureSwarms {
    Swarm table[SWARM_COUNT] = {};
    uint32_t seed = 0;
    int64_t frame = 0;
    int field_w = 0, field_h = 0;  // the field's size; 0 when not known
    int capacity = 0;              // the firefly table's slots; 0 when not known
};

// The text of the chunk.
std::string format_picture_swarms(const PictureSwarms& swarms);

// Reads the text of the chunk. False, with what is wrong in error, when a swarm line is broken
// or one of the ten records is missing or given twice.
bool read_picture_swarms(std::string_view text, PictureSwarms& swarms, std::string& error);

// A whole tEXt chunk (length, type, keyword, text, CRC) to go into a PNG file.
std::string png_text_chunk(const char* keyword, std::string_view text);

// Whether bytes begin with the eight bytes every PNG file begins with.
bool is_png(std::string_view bytes);

// Finds the swarms in the bytes of a PNG file. False, with what is wrong as the end of a
// sentence about the file ("is not a PNG picture", "holds no swarms: ..."), otherwise.
bool find_picture_swarms(std::string_view png, PictureSwarms& swarms, std::string& error);

// Whether the file at path is a PNG picture, by its first bytes; a file that cannot be read
// is not. Allocates nothing.
bool is_picture_file(const char* path);

// Reads the picture at path and takes its swarms into table: all or nothing. False, with
// `PATH: what is wrong` in error, when the file cannot be read or holds no good swarms.
bool read_picture_swarms_file(const char* path, Swarm (&table)[SWARM_COUNT], std::string& error);
