// The flashes as MIDI: the notes a frame's flashes make, the file lumora-sim writes read by
// another program, and the window's sequencer port on a machine without a sequencer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/midi_port.h"
#include "sim/world.h"
#include "sound/blink_peaks.h"
#include "sound/flash_notes.h"
#include "tests/sim_run.h"
#include "tests/support.h"

namespace {

constexpr float HALF_PI = 1.57079632679f;

// The messages of a frame as text, "status,first,second" in hexadecimal, one after another.
std::string messages(const FrameMidi& m) {
    std::string text;
    for (int i = 0; i < m.count; ++i) {
        char one[16];
        std::snprintf(one, sizeof one, "%s%02x,%02x,%02x", i ? " " : "", m.bytes[3 * i],
                      m.bytes[3 * i + 1], m.bytes[3 * i + 2]);
        text += one;
    }
    return text;
}

void add_peak(BlinkPeaks& peaks, int slot, int swarm, float x, float phase) {
    fireflies[slot].swarm = static_cast<float>(swarm);
    fireflies[slot].x = x;
    fireflies[slot].glow_phase = phase;
    peaks.peak[peaks.count++] = BlinkPeak{slot, swarm, x, 0.0f};
    ++peaks.per_swarm[swarm];
}

// Reads a MIDI file with Debian's python3-mido and prints its header's timing and every
// message with its time in ticks from the start.
const char* const READ_MIDI = R"(import sys, mido
f = mido.MidiFile(sys.argv[1])
print(f.type, len(f.tracks), f.ticks_per_beat)
tick = 0
for m in f.tracks[0]:
    tick += m.time
    if m.type == 'set_tempo': print(tick, 'tempo', m.tempo)
    elif m.type == 'note_on': print(tick, 'on', m.channel, m.note, m.velocity)
    elif m.type == 'note_off': print(tick, 'off', m.channel, m.note, m.velocity)
    elif m.type == 'control_change': print(tick, 'cc', m.channel, m.control, m.value)
    elif m.type == 'end_of_track': print(tick, 'end')
)";

// A note-on as the file plays it: its channel and the channel's pan at that moment.
using Heard = std::map<int64_t, std::vector<std::pair<int, int>>>;  // by frame

struct MidiRead {
    std::string header;
    int tempo = 0;
    bool ended = false;
    int unmatched = 0;  // note-ons without a note-off after them
    int velocity_low = 127, velocity_high = 0;
    Heard notes;
};

MidiRead read_midi(const std::string& dir, const std::string& name) {
    write_file(dir + "/read_midi.py", READ_MIDI);
    MidiRead read;
    EXPECT_EQ(run_program(dir, "/usr/bin/python3", "read_midi.py " + name), 0)
        << read_file(dir + "/err.txt") << "(python3-mido comes with scripts/install-deps test)";
    std::istringstream in(read_file(dir + "/out.txt"));
    std::getline(in, read.header);
    int pan[16] = {}, sounding[16] = {};
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        int64_t tick = 0;
        std::string kind;
        int channel = 0, first = 0, second = 0;
        words >> tick >> kind >> channel >> first >> second;
        if (kind == "tempo") read.tempo = channel;
        if (kind == "end") read.ended = true;
        if (kind == "cc" && first == PAN_CONTROLLER) pan[channel] = second;
        if (kind == "off" || (kind == "on" && second == 0)) --sounding[channel];
        if (kind != "on" || second == 0) continue;
        ++sounding[channel];
        read.velocity_low = std::min(read.velocity_low, second);
        read.velocity_high = std::max(read.velocity_high, second);
        EXPECT_EQ(tick % 16, 0) << line;
        EXPECT_EQ(first, SWARM_KEY[channel + 1]) << line;
        read.notes[tick / 16].emplace_back(channel, pan[channel]);
    }
    for (int n : sounding) read.unmatched += n;
    return read;
}

// The flashes of the run a trace holds, frame by frame, found as the frame's sound finds them:
// each note's channel and the pan of the flash's place.
Heard flashes_of_trace(const std::string& trace) {
    static BlinkMemory memory;
    static BlinkPeaks peaks;
    forget_blink_peaks(memory);
    Heard heard;
    std::istringstream in(trace);
    std::string line;
    int64_t frame = 0;
    const auto hear = [&] {
        find_blink_peaks(memory, peaks);
        for (int i = 0; i < peaks.count; ++i)
            heard[frame].emplace_back(peaks.peak[i].swarm - 1,
                                      static_cast<int>(peaks.peak[i].x) / 8);
        for (Firefly& f : fireflies) f = Firefly{};
    };
    for (Firefly& f : fireflies) f = Firefly{};
    while (std::getline(in, line)) {
        if (line.compare(0, 2, "u ") == 0) {
            if (frame > 0) hear();
            frame = std::stoll(line.substr(2));
        }
        if (line.compare(0, 2, "f ") != 0) continue;
        std::istringstream words(line.substr(2));
        int64_t at = 0;
        int slot = 0;
        float skip = 0.0f;
        words >> at >> slot;
        Firefly& f = fireflies[slot];
        words >> f.swarm >> f.x >> f.y >> skip >> skip >> skip >> skip >> skip >> f.glow_phase;
    }
    if (frame > 0) hear();
    return heard;
}

}  // namespace

// A flash plays its swarm's key on its swarm's channel, panned to its place and as loud as it
// is bright; the pan is sent only when it changes. Notes end after NOTE_FRAMES frames, or
// before the swarm's next flashes; the end of a run ends every note still sounding.
TEST(FlashNotes, NotesFollowTheFlashes) {
    for (Firefly& f : fireflies) f = Firefly{};
    FlashNotes notes;
    static FrameMidi out;
    static BlinkPeaks peaks, again, none;
    add_peak(peaks, 0, 2, 0.0f, HALF_PI);
    add_peak(peaks, 1, 2, 1023.0f, HALF_PI);
    add_peak(peaks, 2, 5, 512.0f, 2.0f * HALF_PI);  // half as bright
    make_frame_midi(notes, peaks, out);
    EXPECT_EQ(messages(out), "b1,0a,00 91,3b,7f b1,0a,7f 91,3b,7f b4,0a,40 94,42,40");

    add_peak(again, 2, 5, 515.0f, HALF_PI);
    make_frame_midi(notes, again, out);
    EXPECT_EQ(messages(out), "84,42,00 94,42,7f");

    std::string later;
    for (int frame = 3; frame <= 1 + NOTE_FRAMES; ++frame) {
        make_frame_midi(notes, none, out);
        later += std::to_string(frame) + ":" + messages(out) + ";";
    }
    EXPECT_EQ(later, "3:;4:;5:;6:;7:81,3b,00 81,3b,00;");
    end_frame_midi(notes, out);
    EXPECT_EQ(messages(out), "84,42,00");
    end_frame_midi(notes, out);
    EXPECT_EQ(out.count, 0);
    for (Firefly& f : fireflies) f = Firefly{};
}

// The MIDI file reads in another program as one track at 16 ticks a frame, and holds a note for
// every flash of the run, frame by frame, on its swarm's channel and panned to its place, each
// note ended, whether the run makes its sound or only finds its flashes; writing it changes
// nothing of the run. Cut short by a full disk it still reads, as the run's first frames. One
// that cannot be made stops the run before it starts.
TEST_F(Runner, MidiFileHoldsTheRunsFlashes) {
    ASSERT_EQ(sim("--frames 150 --no-draw --trace quiet.txt"), 0) << err;
    ASSERT_EQ(sim("--frames 150 --no-draw --trace t.txt --midi run.mid"), 0) << err;
    const std::string trace = file("t.txt");
    EXPECT_EQ(trace, file("quiet.txt"));
    ASSERT_EQ(sim("--frames 150 --no-draw --audio a.wav --midi heard.mid"), 0) << err;
    EXPECT_EQ(file("heard.mid"), file("run.mid")) << "the flashes of a run that makes its sound";
    const MidiRead whole = read_midi(dir, "run.mid");
    EXPECT_EQ(whole.header, "0 1 480");
    EXPECT_EQ(whole.tempo, 500000);
    EXPECT_TRUE(whole.ended);
    EXPECT_EQ(whole.unmatched, 0);
    // A firefly that took a neighbour's phase may flash from anywhere in its blink.
    EXPECT_LT(whole.velocity_low, 64);
    EXPECT_EQ(whole.velocity_high, 127);
    const Heard flashes = flashes_of_trace(trace);
    size_t count = 0;
    for (const auto& frame : flashes) count += frame.second.size();
    EXPECT_GT(count, 1000u);
    EXPECT_EQ(whole.notes.size(), flashes.size());
    for (const auto& frame : flashes) {
        const auto found = whole.notes.find(frame.first);
        ASSERT_NE(found, whole.notes.end()) << "frame " << frame.first;
        ASSERT_EQ(found->second, frame.second) << "frame " << frame.first;
    }

    EXPECT_EQ(sim("--frames 150 --no-draw --midi cut.mid", "ulimit -f 16"), 1);
    EXPECT_NE(err.find("writing the MIDI file 'cut.mid' failed"), std::string::npos) << err;
    const MidiRead cut = read_midi(dir, "cut.mid");
    EXPECT_TRUE(cut.ended);
    ASSERT_FALSE(cut.notes.empty());
    EXPECT_LT(cut.notes.size(), whole.notes.size());
    for (const auto& frame : cut.notes) EXPECT_EQ(frame.second, whole.notes.at(frame.first));

    EXPECT_EQ(sim("--frames 10 --midi no/such/folder.mid"), 1);
    EXPECT_NE(err.find("no/such/folder.mid"), std::string::npos) << err;
    EXPECT_EQ(out.find("frames="), std::string::npos) << out;
}

// Where there is no sequencer, as on the machines the tests run on, the port does not open and
// says nothing; sending then does nothing. Where there is one, it opens and takes a frame.
TEST(MidiPort, OpensWhereThereIsASequencerAndIsQuietWhereNot) {
    static const BlinkPeaks peaks{};
    testing::internal::CaptureStderr();
    const bool opened = open_midi_port();
    EXPECT_EQ(opened, midi_port_open());
    send_frame_midi(peaks);
    close_midi_port();
    EXPECT_FALSE(midi_port_open());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    if (std::FILE* seq = std::fopen("/dev/snd/seq", "r")) {
        std::fclose(seq);
        EXPECT_TRUE(opened);
    } else {
        EXPECT_FALSE(opened);
    }
}
