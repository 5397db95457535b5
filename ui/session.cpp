#include "ui/session.h"

#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/numbered_file.h"
#include "files/path.h"
#include "files/picture_swarms.h"
#include "render/numbered_picture.h"
#include "sim/random.h"
#include "ui/folders.h"
#include "ui/input_keys.h"
#include "ui/interface_state.h"

// Room for this many changes of input before the first growth: about twenty minutes of a mouse
// moving in every frame.
constexpr size_t INPUTS_RESERVED = size_t{1} << 16;

namespace {

enum class Mode { OFF, KEEPING, REPLAYING };

struct State {
    Mode mode = Mode::OFF;
    Session session;
    int64_t frame = 0;       // frames begun
    bool full = false;       // keeping has stopped: the session could not grow
    size_t next = 0;         // replaying: the first outcome that has not stood in yet
    size_t next_remote = 0;  // replaying: the first command of other programs not yet acted on
    RemoteCommand remote[REMOTE_PER_FRAME] = {};  // replaying: this frame's commands
    std::string pictures;  // replaying: where kept pictures are written; empty for nowhere
    std::string fault;     // replaying: what went wrong, once something did
};

State state;

}  // namespace

static StatusLine status_now() {
    StatusLine status{};
    std::memcpy(status.text, status_text, sizeof status.text);
    status.frames = status_frames;
    return status;
}

static void show(const StatusLine& status) {
    std::strncpy(status_text, status.text, STATUS_TEXT_SIZE - 1);
    status_text[STATUS_TEXT_SIZE - 1] = '\0';
    status_frames = status.frames;
}

void keep_session() {
    state = State{};
    Session& s = state.session;
    s.seed = random_state;
    s.depth = get_color_depth();
    s.field_w = field_w_px;
    s.field_h = field_h_px;
    s.capacity = firefly_capacity;
    std::memcpy(s.start_table.swarm, swarms, sizeof swarms);
    s.start_status = status_now();
    try {
        s.inputs.reserve(INPUTS_RESERVED);
        s.inputs.push_back(KeptInput{0, 0, last_mouse_x, last_mouse_y, 0});
    } catch (...) {
        state.full = true;
    }
    state.mode = Mode::KEEPING;
}

void replay_session(const Session& session, const char* pictures_dir) {
    state = State{};
    state.session = session;
    state.pictures = pictures_dir;
    state.mode = Mode::REPLAYING;
    for (int i = 0; i < firefly_capacity; ++i) fireflies[i].swarm = 0.0f;
    std::memcpy(swarms, session.start_table.swarm, sizeof swarms);
    show(session.start_status);
    seed_random(session.seed);
    last_mouse_x = session.inputs.front().mouse_x;
    last_mouse_y = session.inputs.front().mouse_y;
    additions.own_keys_repeat = session.version < 2;
}

void end_session() { state = State{}; }

void keep_frame_input(const InputSnapshot& input) {
    if (state.mode == Mode::OFF) return;
    ++state.frame;
    if (state.mode != Mode::KEEPING || state.full) return;
    if (state.frame > REPLAY_FRAMES_MAX) {
        state.full = true;
        return;
    }
    const KeptInput kept = kept_input(state.frame, input);
    const KeptInput& last = state.session.inputs.back();
    if (kept.keys == last.keys && kept.mouse_x == last.mouse_x && kept.mouse_y == last.mouse_y &&
        kept.mouse_b == last.mouse_b)
        return;
    try {
        state.session.inputs.push_back(kept);
    } catch (...) {
        state.full = true;
    }
}

int frame_remote_commands(const InputSnapshot& input, const RemoteCommand*& commands) {
    commands = input.remote;
    if (state.mode == Mode::REPLAYING) {
        const std::vector<KeptRemote>& kept = state.session.remote;
        int count = 0;
        while (state.next_remote < kept.size() && kept[state.next_remote].frame <= state.frame &&
               count < REMOTE_PER_FRAME) {
            state.remote[count++] = kept[state.next_remote++].command;
        }
        commands = state.remote;
        return count;
    }
    const int count = input.remote == nullptr ? 0 : input.remote_count;
    if (state.mode != Mode::KEEPING || state.full) return count;
    try {
        for (int i = 0; i < count; ++i)
            state.session.remote.push_back({state.frame, input.remote[i]});
    } catch (...) {
        state.full = true;
    }
    return count;
}

static void note_fault(const std::string& what) {
    if (state.fault.empty()) state.fault = "frame " + std::to_string(state.frame) + ": " + what;
}

// Writes the picture kept under name into the pictures folder.
static void write_kept_picture(const char* name, BITMAP* picture) {
    char path[PATH_SIZE];
    if (picture == nullptr) {
        note_fault(std::string("the picture ") + name + " is not drawn");
    } else if (!join_path(path, state.pictures.c_str(), name)) {
        note_fault("cannot write the picture '" + join_path(state.pictures, name) + "' (" +
                   std::strerror(ENAMETOOLONG) + ")");
    } else if (!save_new_picture(path, picture, picture_swarms_chunk())) {
        // A name taken is the user's file, never to be written over; other causes are named.
        const int cause = errno;
        note_fault("cannot write the picture '" + join_path(state.pictures, name) + "' " +
                   (cause == EEXIST ? std::string("(it must not exist yet)")
                                    : "(" + std::string(std::strerror(cause)) + ")"));
    }
}

bool stand_in_for(FileAction action, BITMAP* picture) {
    if (state.mode != Mode::REPLAYING) return false;
    const std::vector<FileOutcome>& outcomes = state.session.outcomes;
    if (state.next >= outcomes.size() || outcomes[state.next].frame != state.frame ||
        outcomes[state.next].action != action) {
        note_fault(std::string("the run asks for a ") + file_action_name(action) +
                   " that the replay does not hold here: it plays differently from the session");
        return true;
    }
    const FileOutcome& o = outcomes[state.next++];
    show(o.status);
    if (brings_table(o)) std::memcpy(swarms, state.session.tables[o.table].swarm, sizeof swarms);
    if (action == FileAction::PICTURE && o.ok && !state.pictures.empty()) {
        write_kept_picture(o.picture, picture);
    }
    return true;
}

static FileOutcome outcome_now(FileAction action, bool ok, const char* picture) {
    FileOutcome o{};
    o.frame = state.frame;
    o.action = action;
    o.ok = ok;
    o.table = -1;
    if (action == FileAction::PICTURE && ok)
        std::snprintf(o.picture, sizeof o.picture, "%s", picture);
    o.status = status_now();
    return o;
}

void keep_outcome(FileAction action, bool ok, const char* picture) {
    if (state.mode != Mode::KEEPING || state.full) return;
    Session& s = state.session;
    FileOutcome o = outcome_now(action, ok, picture);
    // A picture's name goes into the replay file, where only a plain name is read back.
    if (action == FileAction::PICTURE && ok && !is_plain_file_name(o.picture)) {
        state.full = true;
        return;
    }
    try {
        // A key held down loads the same file again and again: its table is kept once.
        if (brings_table(o)) {
            if (s.tables.empty() ||
                std::memcmp(s.tables.back().swarm, swarms, sizeof swarms) != 0) {
                SwarmTable table;
                std::memcpy(table.swarm, swarms, sizeof swarms);
                s.tables.push_back(table);
            }
            o.table = static_cast<int32_t>(s.tables.size() - 1);
        }
        s.outcomes.push_back(o);
    } catch (...) {
        state.full = true;
    }
}

std::string picture_swarms_chunk() {
    PictureSwarms p;
    std::memcpy(p.table, swarms, sizeof p.table);
    p.seed = state.session.seed;
    p.frame = state.frame;
    p.field_w = field_w_px;
    p.field_h = field_h_px;
    p.capacity = firefly_capacity;
    return png_text_chunk(PICTURE_SWARMS_KEYWORD, format_picture_swarms(p));
}

bool write_kept_session() {
    if (state.mode != Mode::KEEPING || state.full) return false;
    char folder[PATH_SIZE];
    char path[PATH_SIZE];
    if (!picture_folder(folder)) return false;
    state.session.frames = state.frame;
    // The file holds F9's own outcome, whose status line names the file as F12 names its
    // picture.
    const auto write = [](std::FILE* out, const char* name, void*) {
        char text[STATUS_TEXT_SIZE];
        std::snprintf(text, sizeof text, "replay saved %s", name);
        set_status(text);
        Session& s = state.session;
        try {
            s.outcomes.push_back(outcome_now(FileAction::REPLAY, true, ""));
        } catch (...) {
            return false;
        }
        const bool ok = write_replay(out, s);
        s.outcomes.pop_back();
        return ok;
    };
    return keep_self_naming_file(folder, "replay", write, nullptr, path);
}

const char* replay_fault() { return state.fault.empty() ? nullptr : state.fault.c_str(); }

const char* finish_replay(int64_t frames_played) {
    const std::vector<FileOutcome>& outcomes = state.session.outcomes;
    if (state.mode == Mode::REPLAYING && state.next < outcomes.size() &&
        outcomes[state.next].frame <= frames_played) {
        state.frame = outcomes[state.next].frame;
        note_fault(std::string("the replay holds a ") +
                   file_action_name(outcomes[state.next].action) +
                   " that the run never asked for: it plays differently from the session");
    }
    return replay_fault();
}
