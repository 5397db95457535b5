// The sound: which fireflies sound, how a player keeps it from clicking, and whole runs'
// WAV files as lumora-sim writes them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "sim/world.h"
#include "sound/blink_peaks.h"
#include "sound/sound_feed.h"
#include "tests/sim_run.h"
#include "tests/support.h"

namespace {

constexpr double HALF_PI = 1.57079632679489661923;

// How many times a firefly of swarm 1 in slot 0 sounds over a run of phases, a phase of -1
// standing for a frame with the slot free and 100 + k for a frame in swarm 2.
int sounds_over(const std::vector<double>& phases) {
    static BlinkMemory memory;
    static BlinkPeaks peaks;
    forget_blink_peaks(memory);
    int sounds = 0;
    for (double p : phases) {
        fireflies[0].swarm = p < 0.0 ? 0.0f : p >= 100.0 ? 2.0f : 1.0f;
        fireflies[0].glow_phase = static_cast<float>(p >= 100.0 ? p - 100.0 : p);
        find_blink_peaks(memory, peaks);
        sounds += peaks.count;
    }
    return sounds;
}

}  // namespace

// A firefly sounds once as its blink passes its peak; swinging back and forth across it, as
// one taking its neighbours' phases does, sounds once more only after it has been dark; a slot
// that turns up or changes swarm already past its peak makes no sound.
TEST(BlinkPeaks, OnceABlinkAndAfreshInANewSlot) {
    for (Firefly& f : slots_in_use()) f = Firefly{};
    const double peak = HALF_PI;
    EXPECT_EQ(sounds_over({1.0, 1.5, 1.6, 2.0, 3.0}), 1);
    EXPECT_EQ(sounds_over({1.5, 1.6, 1.5, 1.6, 1.5, 1.6, 2.0}), 1);
    EXPECT_EQ(sounds_over({1.5, 1.6, 4.0, 1.5, 1.6}), 2);
    EXPECT_EQ(sounds_over({1.5, 1.6 + 4 * peak, 1.5 + 8 * peak, 1.6 + 8 * peak}), 1);
    EXPECT_EQ(sounds_over({1.0, -1.0, 1.6, 1.7}), 0);
    EXPECT_EQ(sounds_over({101.5, 1.6, 1.7}), 0);
    EXPECT_EQ(sounds_over({5.0, 1.5, 1.6, 100.0 + 1.7}), 1);
    fireflies[0] = Firefly{};
}

// A player sends what comes one frame late; a frame that comes too late finds the one before
// it sent fading out to silence, and the next fades in from it; a device that is too full gets
// two frames crossed into one, which starts where the first did and ends where the second does.
TEST(SoundFeed, GapsFadeAndMergesCross) {
    FrameSound loud, other, out;
    for (int i = 0; i < SOUND_FRAME_SAMPLES * SOUND_CHANNELS; ++i) {
        loud.samples[i] = 20000;
        other.samples[i] = -20000;
    }
    const int last = SOUND_FRAME_SAMPLES * SOUND_CHANNELS - 1;
    SoundFeed feed;
    EXPECT_FALSE(feed_frame(feed, loud, out));
    ASSERT_TRUE(feed_frame(feed, loud, out));
    EXPECT_LT(std::abs(out.samples[0]), 100) << "the first frame fades in";
    ASSERT_TRUE(feed_frame(feed, loud, out));
    EXPECT_EQ(out.samples[0], 20000);
    ASSERT_TRUE(feed_gap(feed, out));
    EXPECT_EQ(out.samples[0], 19975);
    EXPECT_EQ(out.samples[last], 0);
    EXPECT_FALSE(feed_gap(feed, out));
    EXPECT_FALSE(feed_frame(feed, loud, out));
    ASSERT_TRUE(feed_frame(feed, loud, out));
    EXPECT_LT(std::abs(out.samples[0]), 100);
    EXPECT_EQ(out.samples[last], 20000);
    ASSERT_TRUE(feed_merged(feed, other, out));
    EXPECT_GT(out.samples[0], 19900);
    EXPECT_EQ(out.samples[last], -20000);
    EXPECT_FALSE(feed.holding);
}

namespace {

struct Wav {
    std::vector<int16_t> samples;  // left and right in turn
    bool header_ok = false;
};

uint32_t le32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

// The samples of a WAV file as lumora-sim writes it, and whether its header describes them.
Wav read_wav(const std::string& bytes) {
    Wav w;
    if (bytes.size() < 44) return w;
    const size_t data = bytes.size() - 44;
    w.header_ok = bytes.compare(0, 4, "RIFF") == 0 && le32(bytes, 4) == 36 + data &&
                  bytes.compare(8, 8, "WAVEfmt ") == 0 && le32(bytes, 16) == 16 &&
                  le32(bytes, 20) == (1u | 2u << 16) && le32(bytes, 24) == 48000 &&
                  le32(bytes, 28) == 48000 * 4 && le32(bytes, 32) == (4u | 16u << 16) &&
                  bytes.compare(36, 4, "data") == 0 && le32(bytes, 40) == data;
    w.samples.resize(data / 2);
    std::memcpy(w.samples.data(), bytes.data() + 44, data);
    return w;
}

// The loudness of each frame, or of one channel (0 left, 1 right) of it: its root mean square.
std::vector<double> loudness(const Wav& w, int channel = -1) {
    std::vector<double> frames;
    const size_t per_frame = SOUND_FRAME_SAMPLES * SOUND_CHANNELS;
    for (size_t f = 0; f + per_frame <= w.samples.size(); f += per_frame) {
        double sum = 0.0;
        for (size_t i = f; i < f + per_frame; ++i)
            if (channel < 0 || static_cast<int>(i % 2) == channel)
                sum += static_cast<double>(w.samples[i]) * w.samples[i];
        frames.push_back(std::sqrt(sum / (channel < 0 ? per_frame : per_frame / 2)));
    }
    return frames;
}

double mean(const std::vector<double>& v) {
    double s = 0.0;
    for (double x : v) s += x;
    return v.empty() ? 0.0 : s / static_cast<double>(v.size());
}

// The lag, 40 to 240 frames, at which a series repeats itself best, and how well (its
// autocorrelation there, 1 for a perfect repeat).
struct Repeat {
    int lag = 0;
    double how_well = -1.0;
};

Repeat strongest_repeat(std::vector<double> v) {
    const double m = mean(v);
    double var = 0.0;
    for (double& x : v) {
        x -= m;
        var += x * x;
    }
    Repeat best;
    for (int lag = 40; lag <= 240 && var > 0.0; ++lag) {
        double sum = 0.0;
        for (size_t i = 0; i + lag < v.size(); ++i) sum += v[i] * v[i + lag];
        const double r = sum / static_cast<double>(v.size() - lag) / (var / v.size());
        if (r > best.how_well) best = Repeat{lag, r};
    }
    return best;
}

// The rows of a --stats table, as numbers: frame, swarm, target, population, flashing, order,
// lock.
std::vector<std::vector<double>> stats_rows(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    std::vector<std::vector<double>> rows;
    while (std::getline(lines, line)) {
        std::istringstream cells(line);
        std::vector<double> row;
        for (std::string cell; std::getline(cells, cell, ',');) row.push_back(std::stod(cell));
        rows.push_back(row);
    }
    return rows;
}

// Settings: the default ones with the given values of every swarm's `member` set, or of one.
std::string settings_with(const std::string& base, int32_t Swarm::*member, int value,
                          int only_swarm = 0) {
    int position = 0;
    for (const SwarmField& f : SWARM_FIELD_TABLE)
        if (f.member == member) position = f.position;
    std::istringstream in(base);
    std::string out, line;
    for (int n = 0; std::getline(in, line); ++n) {
        const int swarm = n / SWARM_FIELDS;
        const bool set =
            n % SWARM_FIELDS == position && swarm > 0 && (only_swarm == 0 || swarm == only_swarm);
        out += (set ? std::to_string(value) : line) + "\n";
    }
    return out;
}

}  // namespace

// The file holds every frame's samples under a header that says so, also when ESC ends the run
// early; the same seed gives the same file, with or without drawing, and the trace is the same
// as without it. The file is the one every build makes on every machine, with SSE2 or without:
// its checksum is fixed (a change of the sound's design changes it, on purpose). M silences
// the sound. A file that cannot be made stops the run before it starts.
TEST_F(Runner, AudioIsTheRunsFramesAndChangesNothingElse) {
    ASSERT_EQ(sim("--frames 60 --trace quiet.txt"), 0) << err;
    ASSERT_EQ(sim("--frames 60 --trace a.txt --audio a.wav"), 0) << err;
    EXPECT_EQ(file("a.txt"), file("quiet.txt"));
    const Wav a = read_wav(file("a.wav"));
    EXPECT_TRUE(a.header_ok);
    EXPECT_EQ(a.samples.size(), 60u * 1600u);
    ASSERT_EQ(sim("--frames 60 --no-draw --audio b.wav"), 0) << err;
    EXPECT_EQ(file("a.wav"), file("b.wav"));
    const std::string wav = file("a.wav");
    EXPECT_EQ(fnv1a(wav.data(), wav.size()), 0x624f2d8ef1818a6au);
    EXPECT_GT(mean(loudness(a)), 10.0);

    write_file(dir + "/in.txt", "0 - 0 0 0\n30 M 0 0 0\n31 - 0 0 0\n41 ESC 0 0 0\n");
    ASSERT_EQ(sim("--frames 60 --input in.txt --trace m.txt --audio m.wav"), 0) << err;
    const Wav m = read_wav(file("m.wav"));
    EXPECT_TRUE(m.header_ok);
    ASSERT_EQ(m.samples.size(), 40u * 1600u);
    const std::string trace = file("m.txt");
    const size_t line = trace.find("\nu 30 ");
    ASSERT_NE(line, std::string::npos);
    EXPECT_EQ(trace.substr(trace.find('\n', line + 1) - 10, 10), " sound off");
    const std::vector<double> heard = loudness(m);
    for (int f = 30; f < 40; ++f) EXPECT_EQ(heard[f], 0.0) << f;

    EXPECT_EQ(sim("--frames 10 --audio no/such/folder.wav"), 1);
    EXPECT_NE(err.find("no/such/folder.wav"), std::string::npos) << err;
    EXPECT_EQ(out.find("frames="), std::string::npos) << out;
}

TEST_F(Runner, NoFireflyNoSound) {
    write_file(dir + "/none.sav", settings_with(file("lmr.sav"), &Swarm::population, 0));
    ASSERT_EQ(sim("--settings none.sav --frames 200 --no-draw --audio none.wav"), 0) << err;
    const Wav w = read_wav(file("none.wav"));
    ASSERT_EQ(w.samples.size(), 200u * 1600u);
    for (int16_t s : w.samples) ASSERT_EQ(s, 0);
}

// Once the default swarms have fallen into step the sound pulses with the blink of a swarm,
// the period over which the number of its members in the bright half repeats; without
// communication nothing pulses.
TEST_F(Runner, SwarmsInStepPulseWithTheirBlink) {
    ASSERT_EQ(sim("--frames 2400 --no-draw --audio step.wav --stats step.csv"), 0) << err;
    std::vector<double> env = loudness(read_wav(file("step.wav")));
    env.erase(env.begin(), env.begin() + 600);
    const Repeat pulse = strongest_repeat(env);
    EXPECT_GT(pulse.how_well, 0.4);
    std::vector<std::vector<double>> flashing(SWARM_COUNT);
    for (const std::vector<double>& row : stats_rows(file("step.csv")))
        if (row[0] > 600) flashing[static_cast<int>(row[1])].push_back(row[4]);
    // A pulse that comes every other blink of a swarm, its loudest swarms beating together
    // only then, still keeps to that swarm's blink.
    bool blinks_so = false;
    std::string periods;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const int period = strongest_repeat(flashing[s]).lag;
        periods += " " + std::to_string(period);
        for (int times = 1; times <= 2; ++times)
            blinks_so = blinks_so || std::abs(times * period - pulse.lag) <= 2 * times;
    }
    EXPECT_TRUE(blinks_so) << "the sound repeats every " << pulse.lag
                           << " frames, the swarms' blinks every" << periods;

    write_file(dir + "/alone.sav", settings_with(file("lmr.sav"), &Swarm::communication, 0));
    ASSERT_EQ(sim("--settings alone.sav --frames 2400 --no-draw --audio alone.wav"), 0) << err;
    env = loudness(read_wav(file("alone.wav")));
    env.erase(env.begin(), env.begin() + 600);
    EXPECT_LT(strongest_repeat(env).how_well, 0.2);
    EXPECT_GT(mean(env), 100.0);
}

// A lone firefly held by the lure at the left is heard, and from the left; at the right, from
// the right.
TEST_F(Runner, ALoneFireflyIsHeardFromWhereItIs) {
    std::string one = settings_with(file("lmr.sav"), &Swarm::population, 0);
    write_file(dir + "/one.sav", settings_with(one, &Swarm::population, 1, 1));
    for (int x : {100, 924}) {
        write_file(dir + "/in.txt", "0 - " + std::to_string(x) + " 384 1\n");
        ASSERT_EQ(sim("--settings one.sav --input in.txt --frames 600 --no-draw --audio one.wav"),
                  0)
            << err;
        const Wav w = read_wav(file("one.wav"));
        int16_t peak = 0;
        for (int16_t s : w.samples)
            peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(s)));
        EXPECT_GT(peak, 500) << x;
        const double left = mean(loudness(w, 0)), right = mean(loudness(w, 1));
        EXPECT_GT(x < 512 ? left : right, 2.0 * (x < 512 ? right : left)) << x;
    }
}

// What a listener hears on the shipped settings: each run comes in without a burst (its first
// 100 ms far below its loudest moment) and peaks under half of full scale, as the guide
// says; a crowd out of step (no communication) sits well below one swarm of 2000 in step.
TEST_F(Runner, LoudnessFollowsWhatIsHeard) {
    const auto peak_of = [](const std::vector<int16_t>& v, size_t from, size_t to) {
        int peak = 0;
        for (size_t i = from; i < to && i < v.size(); ++i)
            peak = std::max(peak, std::abs(int{v[i]}));
        return peak;
    };
    std::map<std::string, int> peaks;
    for (const char* name : {"lmr.sav", "presets/3-fall-into-step.sav",
                             "presets/4-no-communication.sav", "presets/5-one-swarm-of-2000.sav"}) {
        ASSERT_EQ(sim(std::string("--settings '") + LUMORA_ASSETS_DIR + "/" + name +
                      "' --frames 1800 --no-draw --audio run.wav"),
                  0)
            << err;
        const std::vector<int16_t> v = read_wav(file("run.wav")).samples;
        const int first = peak_of(v, 0, 6 * 1600);
        peaks[name] = peak_of(v, 0, v.size());
        EXPECT_LT(peaks[name], 32768 / 2) << name;
        EXPECT_LT(first * 4, peaks[name]) << name;
    }
    EXPECT_LT(peaks["presets/4-no-communication.sav"] * 4,
              peaks["presets/5-one-swarm-of-2000.sav"]);
}

// The volume keys step once a press however long they are held: - held for 40 frames lowers
// the strikes that follow to 90%, and = gives them back.
TEST_F(Runner, VolumeKeysStepOnceAPress) {
    ASSERT_EQ(sim("--frames 400 --no-draw --audio full.wav"), 0) << err;
    write_file(dir + "/in.txt", "0 - 0 0 0\n1 MINUS 0 0 0\n41 - 0 0 0\n");
    ASSERT_EQ(sim("--frames 400 --no-draw --input in.txt --audio low.wav --trace low.txt"), 0)
        << err;
    EXPECT_NE(file("low.txt").find("volume 90%"), std::string::npos);
    const std::vector<double> full = loudness(read_wav(file("full.wav")));
    const std::vector<double> low = loudness(read_wav(file("low.wav")));
    double full_sum = 0.0, low_sum = 0.0;
    for (size_t f = 60; f < full.size(); ++f) {
        full_sum += full[f];
        low_sum += low[f];
    }
    EXPECT_NEAR(low_sum / full_sum, 0.9, 0.01);
    write_file(dir + "/in.txt", "0 - 0 0 0\n1 MINUS 0 0 0\n2 - 0 0 0\n3 EQUALS 0 0 0\n");
    ASSERT_EQ(sim("--frames 400 --no-draw --input in.txt --audio back.wav"), 0) << err;
    EXPECT_EQ(file("back.wav").substr(44 + 60 * 3200), file("full.wav").substr(44 + 60 * 3200));
}

// Two thousand fireflies of one swarm in step: loud pulses, never at full scale.
TEST_F(Runner, TwoThousandInStepStayBelowFullScale) {
    std::string one = settings_with(file("lmr.sav"), &Swarm::population, 0);
    one = settings_with(one, &Swarm::population, 2000, 1);
    one = settings_with(one, &Swarm::target_swarm, 1, 1);
    one = settings_with(one, &Swarm::communication, 1200, 1);
    write_file(dir + "/all.sav", one);
    ASSERT_EQ(sim("--settings all.sav --frames 2400 --no-draw --audio all.wav --stats all.csv"), 0)
        << err;
    int in_step = 0;
    for (const std::vector<double>& row : stats_rows(file("all.csv")))
        in_step += row[1] == 1 && row[3] == 2000 && row[5] >= 0.9 ? 1 : 0;
    EXPECT_GT(in_step, 600);
    int peak = 0;
    for (int16_t s : read_wav(file("all.wav")).samples) peak = std::max(peak, std::abs(int{s}));
    EXPECT_GT(peak, 4000);
    EXPECT_LT(peak, 32767);
}
