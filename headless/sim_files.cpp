#include "headless/sim_files.h"

#include <allegro.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "app/file_places.h"
#include "files/input_file.h"
#include "files/path.h"
#include "files/replace_file.h"
#include "files/settings_file.h"
#include "headless/replay_run.h"
#include "render/picture_file.h"

bool load_script(const std::string& path, std::vector<ScriptLine>& lines) {
    std::string text;
    const InputFault fault = read_input_file(path.c_str(), SCRIPT_FILE_MAX, text);
    if (fault != InputFault::NONE) {
        std::fprintf(stderr, "lumora-sim: the input script '%s' %s\n", path.c_str(),
                     input_fault_text(fault));
        return false;
    }
    std::string error;
    const bool ok = read_input_script(text, path, lines, error);
    if (!ok) std::fprintf(stderr, "%s\n", error.c_str());
    return ok;
}

void report_settings_fault(const std::string& path) {
    Swarm table[SWARM_COUNT];
    InputFault fault = InputFault::NONE;
    read_settings_file(path.c_str(), table, fault);
    std::fprintf(stderr, "lumora-sim: cannot load the settings file '%s': it %s\n", path.c_str(),
                 fault != InputFault::NONE ? input_fault_text(fault)
                                           : "does not begin with 200 whole numbers");
}

RunFiles sim_inputs(const SimOptions& options, const char* startup, const char* media_dir) {
    RunFiles files;
    note_input(files, "the settings file", options.settings);
    if (startup != nullptr) note_input(files, "the settings file", startup);
    if (!options.input.empty()) note_input(files, "the input script", options.input);
    if (!options.replay.empty()) note_input(files, "the replay", options.replay);
    for (const std::string& path : media_paths(media_dir))
        note_input(files, "the media file", path);
    return files;
}

static bool is_folder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// What stands in the way of writing a file at path, or null: its folder must be there, and a
// file that is replaced rather than written into must be a regular file if it exists.
static const char* obstacle(const std::string& path, bool replaced) {
    struct stat info;
    if (!is_folder(folder_of(path))) return "its folder does not exist";
    if (replaced && stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return "it is not a regular file";
    return nullptr;
}

int open_sim_outputs(const SimOptions& options, RunFiles& files, SimOutputs& outputs) {
    constexpr int EXIT_BAD_USAGE = 2;
    // A video on standard output is no file to check.
    const std::string video_file = options.raw_video == "-" ? std::string() : options.raw_video;
    const struct {
        const char* what;
        const std::string& path;
        int status;  // the exit status when it cannot be written
    } named[] = {{"the trace", options.trace, EXIT_BAD_USAGE},
                 {"the statistics", options.stats, 1},
                 {"the picture", options.shot, 1},
                 {"the video", video_file, 1},
                 {"the sound", options.audio, 1}};
    std::string error;
    for (const auto& output : named) {
        if (output.path.empty()) continue;
        if (!note_output(files, output.what, output.path, error)) {
            std::fprintf(stderr, "lumora-sim: %s\n", error.c_str());
            return EXIT_BAD_USAGE;
        }
        if (const char* why = obstacle(output.path, &output.path == &options.shot)) {
            std::fprintf(stderr, "lumora-sim: cannot write %s '%s': %s\n", output.what,
                         output.path.c_str(), why);
            return output.status;
        }
    }
    const std::string& series = options.frames_dir;
    if (!series.empty() &&
        (is_folder(series) ? access(series.c_str(), W_OK) != 0 : !is_folder(folder_of(series)))) {
        std::fprintf(stderr, "lumora-sim: cannot make the folder '%s' for the pictures\n",
                     series.c_str());
        return 1;
    }

    // The names the replay's pictures are written under must all be free.
    if (!prepare_pictures_dir(options)) return 1;

    // Every check has passed: now the files are made.
    if (!options.trace.empty()) {
        outputs.trace.out = std::fopen(options.trace.c_str(), "w");
        if (outputs.trace.out == nullptr) {
            std::fprintf(stderr, "lumora-sim: cannot write the trace '%s'\n",
                         options.trace.c_str());
            return EXIT_BAD_USAGE;
        }
        static char trace_buffer[1 << 16];
        std::setvbuf(outputs.trace.out, trace_buffer, _IOFBF, sizeof trace_buffer);
    }
    if (!options.stats.empty() &&
        !open_stats_file(outputs.stats, options.stats.c_str(), options.stats_every)) {
        std::fprintf(stderr, "lumora-sim: cannot write the statistics '%s'\n",
                     options.stats.c_str());
        return 1;
    }
    if (!series.empty() && !is_folder(series) && mkdir(series.c_str(), 0777) != 0) {
        std::fprintf(stderr, "lumora-sim: cannot make the folder '%s' for the pictures\n",
                     series.c_str());
        return 1;
    }
    if (!options.audio.empty() && !open_wav_file(outputs.wav, options.audio.c_str())) {
        std::fprintf(stderr, "lumora-sim: cannot write the sound '%s'\n", options.audio.c_str());
        return 1;
    }
    if (!options.raw_video.empty() && !open_raw_video(outputs.video, options.raw_video)) {
        std::fprintf(stderr, "lumora-sim: cannot write the video '%s'\n",
                     options.raw_video.c_str());
        return 1;
    }
    return 0;
}

namespace {
struct Shot {
    BITMAP* bmp;
    bool png;
};
}  // namespace

static bool write_shot(int fd, const char* temp_path, void* context) {
    const Shot& shot = *static_cast<Shot*>(context);
    if (shot.png) {
        std::FILE* out = fdopen(dup(fd), "wb");
        if (out == nullptr) return false;
        const bool ok = write_png(out, shot.bmp);
        return std::fclose(out) == 0 && ok;
    }
    // The library writes a BMP only to a file it opens by name.
    return save_bmp(temp_path, shot.bmp, nullptr) == 0;
}

bool save_shot(const std::string& path, BITMAP* bmp) {
    Shot shot{bmp, is_png_name(path)};
    return replace_file_with(path.c_str(), write_shot, &shot);
}
