// Feeds arbitrary bytes to the OSC packet reader, as any datagram at --osc-in's port may be.
//
// Checks, besides the sanitizers' own findings: a packet gives at most a frame's commands,
// every command it gives is one the frame can act on, and a packet that gives nothing and is
// not an empty bundle counts as bad.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "link/osc_packet.h"

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static OscCommands out;
    read_osc_packet(data, size, out);
    if (out.count < 0 || out.count > REMOTE_PER_FRAME || out.bad < 0)
        fault("the counts are out of range");
    for (int i = 0; i < out.count; ++i) {
        if (!is_valid_remote(out.command[i])) fault("a command the frame cannot act on");
    }
    const bool bundle = size >= 8 && std::memcmp(data, "#bundle", 8) == 0;
    if (out.count == 0 && out.bad == 0 && !bundle) fault("a message neither taken nor counted");
    return 0;
}
