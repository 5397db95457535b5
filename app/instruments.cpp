#include "app/instruments.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "app/shell.h"
#include "link/osc_packet.h"
#include "link/udp_link.h"
#include "sound/frame_sound.h"
#include "ui/input.h"

bool open_instruments(const char* program, const InstrumentOptions& options, Instruments& link) {
    std::string error;
    if (!options.osc_out.empty()) {
        link.out = open_osc_sender(options.osc_out, error);
        if (link.out < 0) {
            std::fprintf(stderr, "%s: --osc-out %s\n", program, error.c_str());
            return false;
        }
    }
    if (link.out >= 0) start_osc_sender(link.sender, link.out);
    if (!options.osc_in.empty()) {
        link.in = open_osc_listener(options.osc_in, error);
        if (link.in < 0) {
            std::fprintf(stderr, "%s: --osc-in %s\n", program, error.c_str());
            stop_osc_sender(link.sender);
            link.out = -1;
            return false;
        }
    }
    return true;
}

void listen_to_instruments(Instruments& link, InputSnapshot& input) {
    if (link.in < 0) return;
    OscCommands& read = link.read;
    // A packet brings at most REMOTE_PER_FRAME commands: one is read only while they fit.
    for (int d = 0; d < OSC_DATAGRAMS_PER_FRAME &&
                    link.waiting_count <= 2 * REMOTE_PER_FRAME - REMOTE_PER_FRAME;
         ++d) {
        const long size = receive_datagram(link.in, link.datagram, sizeof link.datagram);
        if (size == 0) break;
        if (size < 0) {
            ++link.bad_messages;
            continue;
        }
        read_osc_packet(link.datagram, static_cast<size_t>(size), read);
        link.bad_messages += static_cast<uint64_t>(read.bad);
        std::memcpy(link.waiting + link.waiting_count, read.command,
                    sizeof(RemoteCommand) * static_cast<size_t>(read.count));
        link.waiting_count += read.count;
    }
    const int count = link.waiting_count < REMOTE_PER_FRAME ? link.waiting_count : REMOTE_PER_FRAME;
    std::memcpy(link.now, link.waiting, sizeof(RemoteCommand) * static_cast<size_t>(count));
    link.waiting_count -= count;
    std::memmove(link.waiting, link.waiting + count,
                 sizeof(RemoteCommand) * static_cast<size_t>(link.waiting_count));
    link.commands_taken += static_cast<uint64_t>(count);
    input.remote = link.now;
    input.remote_count = count;
}

void tell_instruments(Instruments& link, int64_t frame) {
    if (link.out < 0) return;
    make_frame_bundle(link.bundle, frame, watch.synchrony, frame_peaks());
    hand_over_bundle(link.sender, link.bundle);
}

void close_instruments(const char* program, Instruments& link) {
    if (link.in >= 0)
        std::fprintf(stderr,
                     "%s: osc in: %" PRIu64 " commands acted, %" PRIu64 " bad messages ignored\n",
                     program, link.commands_taken, link.bad_messages);
    stop_osc_sender(link.sender);
    close_socket(link.in);
    link.out = link.in = -1;
}
