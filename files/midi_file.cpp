#include "files/midi_file.h"

#include <cstring>

namespace {

// The header chunk and the start of the track chunk, whose length is brought up to date after
// every piece.
constexpr size_t START_BYTES = 22;
constexpr size_t TRACK_LENGTH_AT = 18;
constexpr uint8_t TRACK_END[] = {0x00, 0xFF, 0x2F, 0x00};
constexpr int64_t MAX_TRACK_BYTES = 0xFFFFFFFFLL;

void put_be(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * (bytes - 1 - i)));
}

// A delta time as a variable-length quantity: seven bits a byte, the first ones flagged.
size_t put_delta(uint8_t* at, uint32_t ticks) {
    uint8_t reversed[5];
    size_t n = 0;
    do {
        reversed[n++] = static_cast<uint8_t>(ticks & 0x7F);
        ticks >>= 7;
    } while (ticks != 0);
    for (size_t i = 0; i < n; ++i)
        at[i] = static_cast<uint8_t>(reversed[n - 1 - i] | (i + 1 < n ? 0x80 : 0x00));
    return n;
}

bool count_track(MidiFile& midi) {
    uint8_t length[4];
    put_be(length, static_cast<uint32_t>(midi.file.whole_bytes - START_BYTES), 4);
    uint8_t start[START_BYTES];
    std::memcpy(start, "MThd\0\0\0\6\0\0\0\1", 12);
    put_be(start + 12, MIDI_TICKS_PER_QUARTER, 2);
    std::memcpy(start + 14, "MTrk", 4);
    std::memcpy(start + TRACK_LENGTH_AT, length, 4);
    return rewrite_start(midi.file, start, sizeof start);
}

}  // namespace

bool open_midi_file(MidiFile& midi, const std::string& path) {
    midi.last_tick = 0;
    if (path == "-" || !open_output_file(midi.file, path)) return false;
    uint8_t first[START_BYTES + 7 + 10 + sizeof TRACK_END] = {};
    uint8_t* at = first + START_BYTES;
    const uint8_t tempo[] = {0x00, 0xFF, 0x51, 0x03};
    std::memcpy(at, tempo, sizeof tempo);
    put_be(at + 4, MIDI_MICROSECONDS_PER_QUARTER, 3);
    at += 7;
    const uint8_t name[] = {0x00, 0xFF, 0x03, 0x06, 'l', 'u', 'm', 'o', 'r', 'a'};
    std::memcpy(at, name, sizeof name);
    std::memcpy(at + sizeof name, TRACK_END, sizeof TRACK_END);
    return append_piece(midi.file, first, sizeof first) && count_track(midi);
}

bool write_midi_frame(MidiFile& midi, int64_t frame, const uint8_t* bytes, int count) {
    if (count <= 0) return true;
    const int64_t tick = frame * MIDI_TICKS_PER_FRAME;
    const size_t most = 5 + 4 * static_cast<size_t>(count) + sizeof TRACK_END;
    if (tick < midi.last_tick || tick - midi.last_tick > 0x0FFFFFFF ||
        midi.file.whole_bytes + static_cast<int64_t>(most) > MAX_TRACK_BYTES)
        return false;
    if (midi.piece.size() < most) midi.piece.resize(most);
    uint8_t* at = midi.piece.data();
    at += put_delta(at, static_cast<uint32_t>(tick - midi.last_tick));
    for (int i = 0; i < count; ++i) {
        if (i > 0) *at++ = 0;
        std::memcpy(at, bytes + 3 * i, 3);
        at += 3;
    }
    std::memcpy(at, TRACK_END, sizeof TRACK_END);
    at += sizeof TRACK_END;
    if (!append_before_mark(midi.file, TRACK_END, sizeof TRACK_END, midi.piece.data(),
                            static_cast<size_t>(at - midi.piece.data())))
        return false;
    midi.last_tick = tick;
    return count_track(midi);
}

bool close_midi_file(MidiFile& midi) { return close_output_file(midi.file); }
