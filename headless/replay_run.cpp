#include "headless/replay_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "files/input_file.h"
#include "files/path.h"
#include "ui/input_keys.h"
#include "ui/session.h"

// The session being played; read once, before any output opens.
static Session replay;

bool prepare_replay(SimOptions& options, std::vector<ScriptLine>& script) {
    const char* path = options.replay.c_str();
    std::string text;
    const InputFault fault = read_input_file(path, REPLAY_FILE_MAX, text);
    if (fault != InputFault::NONE) {
        std::fprintf(stderr, "lumora-sim: the replay '%s' %s\n", path, input_fault_text(fault));
        return false;
    }
    std::string error;
    if (!read_replay(text, options.replay, replay, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    // The replay's field and slots are its own; an option may only repeat them.
    if ((options.size_given &&
         (options.field_w != replay.field_w || options.field_h != replay.field_h)) ||
        (options.fireflies_given && options.capacity != replay.capacity)) {
        std::fprintf(stderr,
                     "lumora-sim: the replay '%s' was kept on a field of %dx%d with %d slots: "
                     "--size and --fireflies cannot ask for another\n",
                     path, replay.field_w, replay.field_h, replay.capacity);
        return false;
    }
    options.field_w = replay.field_w;
    options.field_h = replay.field_h;
    options.capacity = replay.capacity;
    options.depth = replay.depth;
    options.seed = replay.seed;
    options.frames = options.frames_given ? std::min(options.frames, replay.frames) : replay.frames;
    script.clear();
    for (const KeptInput& kept : replay.inputs) script.push_back({kept.frame, snapshot_of(kept)});
    return true;
}

bool prepare_pictures_dir(const SimOptions& options) {
    const std::string& dir = options.pictures_dir;
    if (dir.empty()) return true;
    struct stat st;
    if (stat(dir.c_str(), &st) == 0 ? !S_ISDIR(st.st_mode) : mkdir(dir.c_str(), 0777) != 0) {
        std::fprintf(stderr, "lumora-sim: cannot make the folder '%s' for the pictures\n",
                     dir.c_str());
        return false;
    }
    for (const FileOutcome& o : replay.outcomes) {
        if (o.action != FileAction::PICTURE || !o.ok || o.frame > options.frames) continue;
        const std::string path = join_path(dir, o.picture);
        // A link that leads nowhere takes the name too: writing there would go elsewhere.
        if (lstat(path.c_str(), &st) == 0) {
            std::fprintf(stderr,
                         "lumora-sim: '%s' exists already: --pictures-dir writes only new files\n",
                         path.c_str());
            return false;
        }
    }
    return true;
}

bool note_replay_pictures(const SimOptions& options, RunFiles& files, std::string& error) {
    if (options.pictures_dir.empty()) return true;
    for (const FileOutcome& o : replay.outcomes) {
        if (o.action != FileAction::PICTURE || !o.ok || o.frame > options.frames) continue;
        if (!note_output(files, "the replay's picture", join_path(options.pictures_dir, o.picture),
                         error))
            return false;
    }
    return true;
}

void start_replay(const SimOptions& options) {
    replay_session(replay, options.pictures_dir.c_str());
}

bool replay_going_well(const SimOptions& options, int64_t frame, bool finished) {
    if (options.replay.empty()) return true;
    const char* fault = finished ? finish_replay(frame) : replay_fault();
    if (fault != nullptr) {
        std::fprintf(stderr, "lumora-sim: replay '%s', %s\n", options.replay.c_str(), fault);
        return false;
    }
    // A replay that stops before its last frame (ESC edited into its input) would hide the
    // outcomes it never reached.
    if (finished && frame < options.frames) {
        std::fprintf(stderr,
                     "lumora-sim: replay '%s', frame %" PRId64
                     ": the replay ends here, before its last frame %" PRId64
                     ": it plays differently from the session\n",
                     options.replay.c_str(), frame + 1, options.frames);
        return false;
    }
    return true;
}
