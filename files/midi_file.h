// A Standard MIDI File of a run: format 0, one track, 480 ticks a quarter note at 120 beats a
// minute, so that a frame, at 60 a second, is 16 ticks and frame n comes at n/60 s. The file
// is written a frame at a time, each frame's messages one whole piece, and ends every piece
// with the track's end, its header counting the track's bytes: whatever stops a run, the file
// reads as the frames it holds, and a write that falls short leaves it as it was after the
// frame before.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/output_file.h"

constexpr int MIDI_TICKS_PER_QUARTER = 480;
constexpr int MIDI_MICROSECONDS_PER_QUARTER = 500000;
constexpr int MIDI_TICKS_PER_FRAME = 16;

struct MidiFile {
    OutputFile file;
    int64_t last_tick = 0;       // of the latest message written
    std::vector<uint8_t> piece;  // one frame's bytes; grows to the largest frame's
};

// Creates the file with its header, the tempo, the track's name and the track's end. False
// when it cannot be written; standard output cannot, as the header is written again later.
bool open_midi_file(MidiFile& midi, const std::string& path);

// Adds frame's messages, count of them in bytes, each a status byte and two data bytes (a
// channel's note-on, note-off or controller). A frame with none writes nothing. False when not
// all of it was written, or the track would outgrow the 32-bit length its header gives it.
bool write_midi_frame(MidiFile& midi, int64_t frame, const uint8_t* bytes, int count);

// Closes the file; true when it was not open. False when closing reports a failed write.
bool close_midi_file(MidiFile& midi);
