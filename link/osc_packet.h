// Reading what other programs send: one OSC packet (a message or a bundle, Open Sound Control
// 1.0) as commands for the frame (files/remote_command.h). Plain code over the bytes of one
// datagram, trusting nothing in them for a size or a string's length.
//
// The address space read:
//   /lumora/swarm/N/NAME  VALUE   set field NAME (a name lumora-sim --fields lists) of swarm N
//                                 (1 to 9) to VALUE
//   /lumora/pause         VALUE   1 pauses the flight, 0 lets it go on
//   /lumora/preset        N       loads preset N (1 to 9), as its number key does
// VALUE is one argument: an int32 (i), an int64 (h) or a float32 (f) that holds a whole
// number of the 32-bit range. A bundle's messages are read in order, its time tag passed over:
// whatever comes acts at the start of the next frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "files/remote_command.h"

// The bundles inside a bundle read, the outermost counted: deeper ones are bad.
constexpr int OSC_BUNDLE_DEPTH = 8;

struct OscCommands {
    RemoteCommand command[REMOTE_PER_FRAME];  // the first `count`, in the order they came
    int count;
    int bad;  // messages ignored: an unknown address, wrong types, a value out of range, broken
              // bytes, or beyond REMOTE_PER_FRAME in one packet
};

// Reads one packet of size bytes into out (which it empties first).
void read_osc_packet(const uint8_t* data, size_t size, OscCommands& out);
