// Playing along over OSC: the bundle each frame sends, the packets read as commands, the
// commands kept in a replay, and lumora-sim taking them from a sender on the loopback address.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "app/instruments.h"
#include "app/run.h"
#include "app/shell.h"
#include "files/replay_file.h"
#include "link/osc_packet.h"
#include "link/udp_link.h"
#include "sound/frame_sound.h"
#include "tests/sim_run.h"
#include "ui/input.h"

namespace {

uint32_t word(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

float real(const uint8_t* p) {
    const uint32_t w = word(p);
    float f;
    std::memcpy(&f, &w, sizeof f);
    return f;
}

struct Heard {
    int frame = -1;
    std::vector<std::pair<int, float>> flashes;  // swarm and x
    int counted = 0;                             // the swarms' flash counts added up
};

// A receiver's reading of one bundle: the frame, each flash's swarm and x, the swarm counts.
bool read_bundle(const uint8_t* p, size_t size, Heard& heard) {
    if (size < 16 || std::memcmp(p, "#bundle", 8) != 0) return false;
    for (size_t at = 16; at + 4 <= size;) {
        const size_t length = word(p + at);
        const uint8_t* m = p + at + 4;
        if (at + 4 + length > size) return false;
        const std::string address(reinterpret_cast<const char*>(m));
        if (address == "/lumora/frame") heard.frame = static_cast<int>(word(m + 20));
        if (address == "/lumora/swarm") heard.counted += static_cast<int>(word(m + 24 + 8));
        if (address == "/lumora/flash")
            heard.flashes.push_back({static_cast<int>(word(m + 24)), real(m + 28)});
        at += 4 + length;
    }
    return true;
}

// An OSC message with one argument: address, tag ('i', 'h' or 'f') and its bytes.
std::string message(const std::string& address, char tag, const std::vector<uint8_t>& arg) {
    std::string m = address;
    m.append(4 - address.size() % 4, '\0');
    m += ',';
    m += tag;
    m.append(2, '\0');
    m.append(arg.begin(), arg.end());
    return m;
}

std::vector<uint8_t> int32(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    return {uint8_t(u >> 24), uint8_t(u >> 16), uint8_t(u >> 8), uint8_t(u)};
}

std::vector<uint8_t> float32(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return int32(static_cast<int32_t>(u));
}

std::string bundle(const std::vector<std::string>& elements) {
    std::string b("#bundle\0\0\0\0\0\0\0\0\1", 16);
    for (const std::string& e : elements) {
        const std::vector<uint8_t> size = int32(static_cast<int32_t>(e.size()));
        b.append(size.begin(), size.end());
        b += e;
    }
    return b;
}

OscCommands read(const std::string& packet) {
    OscCommands out{};
    read_osc_packet(reinterpret_cast<const uint8_t*>(packet.data()), packet.size(), out);
    return out;
}

}  // namespace

TEST(Osc, EachFrameSendsOneBundleOfTheFlashesItsSoundIsMadeOf) {
    int port = 0;
    const int receiver = open_loopback_receiver(port);
    ASSERT_GE(receiver, 0);
    RunDef def = default_run_def();
    def.media_dir = LUMORA_ASSETS_DIR;
    def.settings = LUMORA_ASSETS_DIR "/lmr.sav";
    def.settings_given = true;
    def.draw = false;
    ::Run run;
    start_run(def, run);
    static Instruments link;
    InstrumentOptions options;
    options.osc_out = "127.0.0.1:" + std::to_string(port);
    ASSERT_TRUE(open_instruments("test", options, link));
    FrameOptions frame_options = frame_options_of(def);
    frame_options.sound = true;
    static uint8_t got[65536];
    int flashes = 0, capped = 0;
    for (int frame = 1; frame <= 120; ++frame) {
        run_frame(run.back_buffer, InputSnapshot(), frame_options);
        tell_instruments(link, frame);
        const BlinkPeaks& peaks = frame_peaks();
        pollfd ready{receiver, POLLIN, 0};
        ASSERT_EQ(poll(&ready, 1, 5000), 1) << "no bundle after frame " << frame;
        const ssize_t size = recv(receiver, got, sizeof got, 0);
        Heard heard;
        ASSERT_TRUE(size > 0 && read_bundle(got, static_cast<size_t>(size), heard)) << frame;
        EXPECT_EQ(recv(receiver, got, sizeof got, 0), -1) << "one bundle a frame";
        EXPECT_EQ(heard.frame, frame);
        EXPECT_EQ(heard.counted, peaks.count);
        const int sent = std::min(peaks.count, FLASHES_PER_BUNDLE);
        ASSERT_EQ(static_cast<int>(heard.flashes.size()), sent) << frame;
        for (int i = 0; i < sent; ++i) {
            EXPECT_EQ(heard.flashes[i].first, peaks.peak[i].swarm);
            EXPECT_EQ(heard.flashes[i].second, peaks.peak[i].x);
        }
        flashes += peaks.count;
        capped += peaks.count > FLASHES_PER_BUNDLE ? 1 : 0;
    }
    EXPECT_GT(flashes, 1000) << "the default settings flash";
    EXPECT_GT(capped, 0) << "the first frames' crowd of peaks meets the cap";
    close_instruments("test", link);
    close(receiver);
    clear_program_state();
}

TEST(Osc, PacketsBecomeCommandsAndBadMessagesAreCounted) {
    const std::string population = message("/lumora/swarm/2/population", 'i', int32(50));
    OscCommands c = read(bundle({population, message("/lumora/pause", 'f', float32(1.0f)),
                                 bundle({message("/lumora/preset", 'h', {0, 0, 0, 0, 0, 0, 0, 3})}),
                                 message("/lumora/swarm/9/target_swarm", 'i', int32(-7)),
                                 message("/lumora/random", 'i', int32(1))}));
    ASSERT_EQ(c.count, 5);
    EXPECT_EQ(c.bad, 0);
    EXPECT_EQ(c.command[0].kind, RemoteKind::FIELD);
    EXPECT_EQ(c.command[0].swarm, 2);
    EXPECT_STREQ(SWARM_FIELD_TABLE[c.command[0].field].name, "population");
    EXPECT_EQ(c.command[0].value, 50);
    EXPECT_EQ(c.command[1].kind, RemoteKind::PAUSE);
    EXPECT_EQ(c.command[2].kind, RemoteKind::PRESET);
    EXPECT_EQ(c.command[2].value, 3);
    EXPECT_EQ(c.command[3].value, -7);
    EXPECT_EQ(c.command[4].kind, RemoteKind::RANDOM);

    // Each is one bad message, the good one beside them still taken.
    const std::vector<std::string> bad = {
        message("/lumora/swarm/2/nothing", 'i', int32(1)),          // unknown field
        message("/lumora/swarm/0/population", 'i', int32(1)),       // no swarm 0
        message("/lumora/swarm/10/population", 'i', int32(1)),      // no swarm 10
        message("/lumora/volume", 'i', int32(1)),                   // unknown address
        message("/lumora/pause", 'i', int32(2)),                    // pause is 0 or 1
        message("/lumora/preset", 'i', int32(10)),                  // presets 1 to 9
        message("/lumora/random", 'i', int32(0)),                   // random is 1
        message("/lumora/pause", 's', {'a', 0, 0, 0}),              // wrong type
        message("/lumora/pause", 'f', float32(0.5f)),               // not whole
        message("/lumora/pause", 'h', {0, 0, 0, 1, 0, 0, 0, 0}),    // beyond 32 bits
        message("/lumora/swarm/1/population", 'f', float32(3e9f)),  // beyond 32 bits
    };
    for (const std::string& b : bad) {
        c = read(bundle({b, population}));
        EXPECT_EQ(c.bad, 1) << b;
        EXPECT_EQ(c.count, 1) << b;
        c = read(b);
        EXPECT_EQ(c.bad, 1) << b;
        EXPECT_EQ(c.count, 0) << b;
    }
    // A size that runs past the bundle's end, or a packet not of whole words, is one bad message.
    std::string broken = bundle({population});
    broken[19] = 120;
    EXPECT_EQ(read(broken).bad, 1);
    EXPECT_EQ(read(population.substr(0, population.size() - 2)).bad, 1);

    // A packet brings at most a frame's commands; what is beyond is counted, not taken.
    std::vector<std::string> flood(REMOTE_PER_FRAME + 5, population);
    c = read(bundle(flood));
    EXPECT_EQ(c.count, REMOTE_PER_FRAME);
    EXPECT_EQ(c.bad, 5);
}

TEST(Osc, ReplaysKeepCommandsInVersion3Only) {
    Session s;
    s.frames = 20;
    s.inputs.push_back(KeptInput{0, 0, 0, 0, 0});
    const auto text = [](const Session& session) {
        char* data = nullptr;
        size_t size = 0;
        std::FILE* out = open_memstream(&data, &size);
        write_replay(out, session);
        std::fclose(out);
        std::string t(data, size);
        std::free(data);
        return t;
    };
    EXPECT_EQ(replay_version_needed(s), 2);
    EXPECT_EQ(text(s).rfind("lumora-replay 2\n", 0), 0u);
    s.remote.push_back({7, {RemoteKind::FIELD, 3, 2, -12}});
    s.remote.push_back({7, {RemoteKind::PAUSE, 0, 0, 1}});
    s.remote.push_back({9, {RemoteKind::PRESET, 0, 0, 4}});
    s.remote.push_back({9, {RemoteKind::RANDOM, 0, 0, 1}});
    EXPECT_EQ(replay_version_needed(s), 3);
    const std::string written = text(s);
    EXPECT_EQ(written.rfind("lumora-replay 3\n", 0), 0u);
    EXPECT_NE(
        written.find(
            "\nosc 7 field 3 field_of_view -12\nosc 7 pause 1\nosc 9 preset 4\nosc 9 random 1\n"),
        std::string::npos)
        << written;
    Session back;
    std::string error;
    ASSERT_TRUE(read_replay(written, "r", back, error)) << error;
    EXPECT_EQ(text(back), written);

    const auto refused = [&](const std::string& from, const std::string& to) {
        std::string t = written;
        t.replace(t.find(from), from.size(), to);
        Session ignored;
        return read_replay(t, "r", ignored, error) ? std::string() : error;
    };
    EXPECT_NE(refused("lumora-replay 3", "lumora-replay 2").find("need format version 3"),
              std::string::npos);
    EXPECT_NE(refused("osc 9 preset", "osc 5 preset").find("order"), std::string::npos);
    EXPECT_NE(refused("field_of_view", "colour").find("--fields"), std::string::npos);
    EXPECT_NE(refused("pause 1", "pause 2").find("0 or 1"), std::string::npos);
    EXPECT_NE(refused("osc 9", "osc 21").find("frames played"), std::string::npos);
}

// A sender on the loopback address sets a field, pauses and sends a bad message again and
// again while lumora-sim runs; the run follows, and its kept replay plays back the same frames
// with no network.
TEST_F(Runner, OscSenderPlaysLumoraSimAndTheReplayKeepsIt) {
    int port = 0;
    const int probe = open_loopback_receiver(port);
    ASSERT_GE(probe, 0);
    close(probe);
    std::atomic<bool> done{false};
    std::thread sender([&] {
        const int fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(static_cast<uint16_t>(port));
        const std::string packet =
            bundle({message("/lumora/swarm/2/population", 'i', int32(50)),
                    message("/lumora/pause", 'i', int32(1)), message("/lumora/nothing", 'i', {})});
        while (!done) {
            sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to),
                   sizeof to);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        close(fd);
    });
    write_file(dir + "/in.txt", "0 - 0 0 0\n150 F9 0 0 0\n");
    const int status = sim("--no-draw --frames 150 --input in.txt --trace live.txt --osc-in " +
                           std::to_string(port));
    done = true;
    sender.join();
    ASSERT_EQ(status, 0) << err;
    EXPECT_NE(err.find("bad messages ignored"), std::string::npos) << err;
    EXPECT_EQ(err.find(" 0 bad messages"), std::string::npos) << err;
    const std::string live = file("live.txt");
    EXPECT_NE(live.find("\nu 150 1 0 0 1 "), std::string::npos) << "paused at the end";
    EXPECT_TRUE(std::regex_search(live, std::regex("\ns [0-9]+ 2( -?[0-9]+){10} 50 ")))
        << "swarm 2's population set";
    const std::string replay = file("lumora-0001.replay");
    EXPECT_EQ(replay.rfind("lumora-replay 3\n", 0), 0u);
    EXPECT_NE(replay.find("\nosc "), std::string::npos);
    ASSERT_EQ(sim("--no-draw --replay lumora-0001.replay --trace again.txt"), 0) << err;
    EXPECT_TRUE(file("again.txt") == live) << "the replay plays the same frames";
}
