// Measures what playing along over OSC costs a frame: runs the program's own frames on a
// settings file (drawing at 32 bits, high detail, no input) with a receiver and a sender on the
// loopback address, and after every frame times, once each:
//   the peaks: finding the blink peaks, which a frame without sound does only for OSC out (with
//              the sound on they are the sound's first step and cost OSC nothing);
//   out:       making the frame's bundle and handing it to the sender's thread
//              (tell_instruments), which sends it outside the frame;
//   in:        reading a datagram of four commands that waits at the port and handing them to
//              the frame (listen_to_instruments); the commands themselves act as keys do.
// The receiver's socket is emptied and the next datagram sent outside the timings. Prints the
// median frame time (without any of them), then each median and its share of the frame.
// Usage: osc-cost ASSETS_DIR SETTINGS FRAMES
#include <allegro.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/instruments.h"
#include "app/shell.h"
#include "bench/measured_run.h"
#include "link/udp_link.h"
#include "sound/frame_sound.h"
#include "ui/input.h"

static double median(std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

static int sent_by(OscSender& sender) {
    std::lock_guard<std::mutex> held(sender.lock);
    return static_cast<int>(sender.sent);
}

// A bundle of four messages /lumora/swarm/N/turning_speed i:V, as a controller sends them.
static std::string commands() {
    std::string b("#bundle\0\0\0\0\0\0\0\0\1", 16);
    for (int n = 1; n <= 4; ++n) {
        std::string m = "/lumora/swarm/" + std::to_string(n) + "/turning_speed";
        m.append(4 - m.size() % 4, '\0');
        m += std::string(",i\0\0", 4) + std::string("\0\0\0\x0a", 4);
        const uint32_t size = htonl(static_cast<uint32_t>(m.size()));
        b.append(reinterpret_cast<const char*>(&size), 4);
        b += m;
    }
    return b;
}

int main(int argc, char** argv) {
    int frames = 0;
    BITMAP* back_buffer = nullptr;
    if (!start_measured_run("osc-cost", argc, argv, frames, back_buffer)) return 2;
    int out_port = 0, in_port = 0;
    const int receiver = open_loopback_receiver(out_port);
    const int probe = open_loopback_receiver(in_port);
    if (receiver < 0 || probe < 0) {
        std::fprintf(stderr, "osc-cost: no socket on the loopback address\n");
        return 1;
    }
    close(probe);
    static Instruments link;
    InstrumentOptions osc;
    osc.osc_out = "127.0.0.1:" + std::to_string(out_port);
    osc.osc_in = std::to_string(in_port);
    if (!open_instruments("osc-cost", osc, link)) return 1;
    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<uint16_t>(in_port));
    const std::string packet = commands();

    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration<double, std::milli>(b - a).count();
    };
    const FrameOptions options;
    std::vector<double> frame_ms, peaks_ms, out_ms, in_ms;
    static uint8_t drained[65536];
    for (int frame = 1; frame <= frames; ++frame) {
        sendto(sender, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to),
               sizeof to);
        InputSnapshot input;
        const auto t0 = Clock::now();
        listen_to_instruments(link, input);
        const auto t1 = Clock::now();
        run_frame(back_buffer, InputSnapshot(), options);
        const auto t2 = Clock::now();
        find_frame_peaks();
        const auto t3 = Clock::now();
        tell_instruments(link, frame);
        const auto t4 = Clock::now();
        // The thread sends the bundle before the next frame is timed.
        for (int wait = 0; wait < 1000 && sent_by(link.sender) < frame; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        while (recv(receiver, drained, sizeof drained, 0) > 0) {
        }
        if (input.remote_count != 4 || sent_by(link.sender) != frame) {
            std::fprintf(stderr, "osc-cost: frame %d: a bundle or a command went missing\n", frame);
            return 1;
        }
        in_ms.push_back(ms(t0, t1));
        frame_ms.push_back(ms(t1, t2));
        peaks_ms.push_back(ms(t2, t3));
        out_ms.push_back(ms(t3, t4));
    }
    const double frame = median(frame_ms);
    const double peaks = median(peaks_ms);
    const double out = median(out_ms);
    const double in = median(in_ms);
    std::printf("%.4f %.4f %.2f %.4f %.2f %.4f %.2f\n", frame, peaks, 100.0 * peaks / frame, out,
                100.0 * out / frame, in, 100.0 * in / frame);
    close_instruments("osc-cost", link);
    destroy_bitmap(back_buffer);
    return 0;
}
END_OF_MAIN()
