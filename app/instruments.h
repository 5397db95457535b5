// Playing along with other programs over OSC (link/): --osc-out sends a bundle after each
// frame, --osc-in takes commands before each frame. The window programs and lumora-sim open
// both before anything runs and call the two steps around run_frame.
#pragma once

#include <cstdint>
#include <string>

#include "files/remote_command.h"
#include "link/frame_bundle.h"
#include "link/osc_packet.h"
#include "link/osc_sender.h"

struct InputSnapshot;

// The options, as given: empty for none.
struct InstrumentOptions {
    std::string osc_out;  // HOST:PORT the bundles go to
    std::string osc_in;   // PORT on the loopback address, or HOST:PORT, listened at
};

// The most datagrams read before a frame; the rest wait in the socket for the frames after.
constexpr int OSC_DATAGRAMS_PER_FRAME = 16;

// Everything both directions hold, made once: sockets, counts and buffers.
struct Instruments {
    int out = -1;  // the sender's socket, which `sender` sends on from its thread
    int in = -1;   // the listener's socket
    OscSender sender;
    uint64_t commands_taken = 0;
    uint64_t bad_messages = 0;  // ignored (link/osc_packet.h)
    // Commands read and not yet acted on, in the order they came, and this frame's.
    RemoteCommand waiting[2 * REMOTE_PER_FRAME] = {};
    int waiting_count = 0;
    RemoteCommand now[REMOTE_PER_FRAME] = {};
    OscCommands read = {};  // the latest packet's
    FrameBundle bundle = {};
    uint8_t datagram[65536] = {};
};

// Whether any option asks for OSC.
inline bool wants_instruments(const InstrumentOptions& o) {
    return !o.osc_out.empty() || !o.osc_in.empty();
}

// Opens the sockets the options ask for. On failure prints `PROGRAM: --osc-... WHERE: why`
// on standard error and returns false: the caller ends with exit status 2.
bool open_instruments(const char* program, const InstrumentOptions& options, Instruments& link);

// Before a frame: reads what has come, at most OSC_DATAGRAMS_PER_FRAME datagrams, and hands
// the frame the first REMOTE_PER_FRAME commands waiting through input.
void listen_to_instruments(Instruments& link, InputSnapshot& input);

// After frame: makes its bundle and hands it to the sender's thread, never waiting. The frame must
// have found its peaks (FrameOptions::flashes or ::sound).
void tell_instruments(Instruments& link, int64_t frame);

// Sends what is waiting and closes the sockets; with a listener prints on standard error how many
// commands acted and how many bad messages were ignored.
void close_instruments(const char* program, Instruments& link);
