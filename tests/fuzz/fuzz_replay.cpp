// Feeds arbitrary bytes to the replay file's reader.
//
// Checks, besides the sanitizers' own findings:
// - a refused file names the line at fault and what is wrong;
// - a replay that was read keeps the promises its runner relies on: frames within the session,
//   the input from frame 0 in ascending frames, outcomes in the order of their frames, a table
//   for every load that worked, a plain name for every picture kept, and commands from other
//   programs the frame can act on, in the order of their frames, a frame's at most 64;
// - written back and read again it is the same session, and written again the same text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/replay_file.h"

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

bool read_text(const std::string& text, Session& session, std::string& error) {
    return read_replay(text, "r", session, error);
}

std::string write_text(const Session& session) {
    char* data = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&data, &size);
    if (out == nullptr || !write_replay(out, session)) fault("a replay cannot be written");
    std::fclose(out);
    std::string text(data, size);
    std::free(data);
    return text;
}

bool same_status(const StatusLine& a, const StatusLine& b) {
    return a.frames == b.frames && std::strcmp(a.text, b.text) == 0;
}

bool same_session(const Session& a, const Session& b) {
    if (a.frames != b.frames || a.seed != b.seed || a.depth != b.depth || a.field_w != b.field_w ||
        a.field_h != b.field_h || a.capacity != b.capacity ||
        std::memcmp(&a.start_table, &b.start_table, sizeof a.start_table) != 0 ||
        !same_status(a.start_status, b.start_status) || a.inputs.size() != b.inputs.size() ||
        a.outcomes.size() != b.outcomes.size() || a.remote.size() != b.remote.size())
        return false;
    for (size_t i = 0; i < a.remote.size(); ++i) {
        const RemoteCommand &x = a.remote[i].command, &y = b.remote[i].command;
        if (a.remote[i].frame != b.remote[i].frame || x.kind != y.kind || x.value != y.value ||
            (x.kind == RemoteKind::FIELD && (x.swarm != y.swarm || x.field != y.field)))
            return false;
    }
    for (size_t i = 0; i < a.inputs.size(); ++i) {
        if (std::memcmp(&a.inputs[i], &b.inputs[i], sizeof a.inputs[i]) != 0) return false;
    }
    for (size_t i = 0; i < a.outcomes.size(); ++i) {
        const FileOutcome &x = a.outcomes[i], &y = b.outcomes[i];
        if (x.frame != y.frame || x.action != y.action || x.ok != y.ok ||
            std::strcmp(x.picture, y.picture) != 0 || !same_status(x.status, y.status) ||
            (x.table < 0) != (y.table < 0))
            return false;
        if (x.table >= 0 &&
            std::memcmp(&a.tables[x.table], &b.tables[y.table], sizeof(SwarmTable)) != 0)
            return false;
    }
    return true;
}

void check_promises(const Session& s) {
    if (s.frames < 1 || s.frames > REPLAY_FRAMES_MAX) fault("the frames played are out of range");
    if (s.inputs.empty() || s.inputs[0].frame != 0) fault("the input does not start at frame 0");
    for (size_t i = 1; i < s.inputs.size(); ++i) {
        if (s.inputs[i].frame <= s.inputs[i - 1].frame) fault("input frames do not ascend");
    }
    if (s.inputs.back().frame > s.frames) fault("input comes after the last frame");
    int64_t earlier = 1;
    for (const FileOutcome& o : s.outcomes) {
        if (o.frame < earlier || o.frame > s.frames) fault("an outcome is out of order or range");
        earlier = o.frame;
        const bool wants_table = brings_table(o);
        if (wants_table != (o.table >= 0) ||
            (o.table >= 0 && static_cast<size_t>(o.table) >= s.tables.size()))
            fault("a load's table is missing or stray");
        const bool named = o.action == FileAction::PICTURE && o.ok;
        if (named != is_plain_file_name(o.picture) && (named || o.picture[0] != '\0'))
            fault("a picture's name is not plain");
    }
    int in_frame = 0;
    for (size_t i = 0; i < s.remote.size(); ++i) {
        const KeptRemote& k = s.remote[i];
        if (k.frame < 1 || k.frame > s.frames || (i > 0 && k.frame < s.remote[i - 1].frame))
            fault("a command is out of order or range");
        in_frame = i > 0 && k.frame == s.remote[i - 1].frame ? in_frame + 1 : 1;
        if (in_frame > REMOTE_PER_FRAME || !is_valid_remote(k.command))
            fault("a command the frame cannot act on");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Session session;
    std::string error;
    if (!read_text(text, session, error)) {
        const char* what = std::strchr(error.c_str() + 2, ':');
        if (error.rfind("r:", 0) != 0 || std::atol(error.c_str() + 2) < 1 || what == nullptr ||
            what[1] != ' ' || what[2] == '\0')
            fault("a refused replay names no line or no fault");
        return 0;
    }
    check_promises(session);
    const std::string written = write_text(session);
    Session again;
    if (!read_text(written, again, error)) fault("a replay written back does not read");
    if (!same_session(session, again)) fault("a replay written back reads different");
    if (write_text(again) != written) fault("a replay written twice differs");
    return 0;
}
