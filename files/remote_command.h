// What another program asked for over the network (link/): a swarm field set by its name, the
// flight paused or let go on, a preset loaded, random swarms made as R makes them. A command acts
// at the start of a frame through the same paths as a key or an edit, and the session keeps it with
// the frame's input (files/replay_file.h), so a replay plays it again without the network.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/world.h"

enum class RemoteKind : uint8_t { FIELD, PAUSE, PRESET, RANDOM };

struct RemoteCommand {
    RemoteKind kind;
    int8_t swarm;   // FIELD: 1 to 9
    int8_t field;   // FIELD: its row in SWARM_FIELD_TABLE, below EDITABLE_FIELDS
    int32_t value;  // FIELD: any 32-bit value; PAUSE: 1 pause, 0 fly on; PRESET: 1 to 9;
                    // RANDOM: 1
};

// A command the session kept, with the frame it acted in.
struct KeptRemote {
    int64_t frame;
    RemoteCommand command;
};

// The most commands a frame acts on; the rest wait for the frames after.
constexpr int REMOTE_PER_FRAME = 64;

// Whether the command's fields are within the ranges above.
inline bool is_valid_remote(const RemoteCommand& c) {
    switch (c.kind) {
        case RemoteKind::FIELD:
            return c.swarm >= 1 && c.swarm < SWARM_COUNT && c.field >= 0 &&
                   c.field < EDITABLE_FIELDS;
        case RemoteKind::PAUSE:
            return c.value == 0 || c.value == 1;
        case RemoteKind::PRESET:
            return c.value >= 1 && c.value <= 9;
        case RemoteKind::RANDOM:
            return c.value == 1;
    }
    return false;
}

// The row of SWARM_FIELD_TABLE that a user edits under name, or -1.
inline int editable_field_named(const char* name, size_t length) {
    for (int i = 0; i < EDITABLE_FIELDS; ++i) {
        const char* n = SWARM_FIELD_TABLE[i].name;
        size_t k = 0;
        while (k < length && n[k] != '\0' && n[k] == name[k]) ++k;
        if (k == length && n[k] == '\0') return i;
    }
    return -1;
}
