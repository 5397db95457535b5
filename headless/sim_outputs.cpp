#include "headless/sim_outputs.h"

#include <allegro.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "app/shell.h"
#include "files/path.h"
#include "files/replace_file.h"
#include "files/whole_number.h"
#include "headless/replay_run.h"
#include "render/picture_file.h"
#include "sound/frame_sound.h"

constexpr int EXIT_BAD_USAGE = 2;

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

// Says that an output could not be opened; returns status.
static int cannot_write(const char* what, const std::string& path, int status) {
    std::fprintf(stderr, "lumora-sim: cannot write %s '%s'\n", what, path.c_str());
    return status;
}

static int cannot_make_folder(const std::string& path) {
    std::fprintf(stderr, "lumora-sim: cannot make the folder '%s' for the pictures\n",
                 path.c_str());
    return 1;
}

// The series' pictures are too many to note one by one: each output with a series picture's
// name, frame-NNNNNN.png numbered within the series, is compared with that picture alone.
static bool misses_the_series(const SimOptions& options, const RunFiles& files,
                              std::string& error) {
    if (options.frames_dir.empty()) return true;
    const int64_t first = std::max<int64_t>(options.draw_from, 1) - 1;
    const int64_t pictures = options.frames / options.every - first / options.every;
    for (const RunFile& output : files.outputs) {
        const std::string name = name_of(output.path.c_str());
        int64_t number = 0;
        if (name.size() < 16 || name.compare(0, 6, "frame-") != 0 ||
            name.compare(name.size() - 4, 4, ".png") != 0 ||
            !parse_whole_number(std::string_view(name).substr(6, name.size() - 10), Signs::NONE, 1,
                                pictures, number))
            continue;
        RunFiles series;
        if (!note_output(series, "the picture series", join_path(options.frames_dir, name),
                         error) ||
            !note_output(series, output.what, output.path, error))
            return false;
    }
    return true;
}

int open_sim_outputs(const SimOptions& options, RunFiles& files, SimOutputs& outputs) {
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
                 {"the sound", options.audio, 1},
                 {"the MIDI file", options.midi, 1}};
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
    if (!note_replay_pictures(options, files, error) || !misses_the_series(options, files, error)) {
        std::fprintf(stderr, "lumora-sim: %s\n", error.c_str());
        return EXIT_BAD_USAGE;
    }
    const std::string& series = options.frames_dir;
    if (!series.empty() &&
        (is_folder(series) ? access(series.c_str(), W_OK) != 0 : !is_folder(folder_of(series))))
        return cannot_make_folder(series);

    // The names the replay's pictures are written under must all be free.
    if (!prepare_pictures_dir(options)) return 1;

    // Every check has passed: now the files are made.
    if (!options.trace.empty() && !open_output_file(outputs.trace.file, options.trace))
        return cannot_write("the trace", options.trace, EXIT_BAD_USAGE);
    if (!options.stats.empty() &&
        !open_stats_file(outputs.stats, options.stats, options.stats_every))
        return cannot_write("the statistics", options.stats, 1);
    if (!series.empty() && !is_folder(series) && mkdir(series.c_str(), 0777) != 0)
        return cannot_make_folder(series);
    outputs.series_path.resize(series.size() + 40);
    if (!options.audio.empty() && !open_wav_file(outputs.wav, options.audio))
        return cannot_write("the sound", options.audio, 1);
    if (!options.midi.empty() && !open_midi_recording(outputs.midi, options.midi))
        return cannot_write("the MIDI file", options.midi, 1);
    if (!options.raw_video.empty() && !open_raw_video(outputs.video, options.raw_video))
        return cannot_write("the video", options.raw_video, 1);
    return 0;
}

bool is_recording_sound(const SimOutputs& outputs) { return outputs.wav.file.fd >= 0; }

bool is_recording_flashes(const SimOutputs& outputs) { return outputs.midi.file.file.fd >= 0; }

static bool is_open(const OutputFile& file) { return file.fd >= 0; }

// Says that writing an output failed and ends the others; returns false.
static bool writing_failed(SimOutputs& outputs, const char* what, const std::string& path) {
    std::fprintf(stderr, "lumora-sim: writing %s '%s' failed\n", what, path.c_str());
    abandon_sim_outputs(outputs);
    return false;
}

bool write_sim_frame(SimOutputs& outputs, const SimOptions& options, int64_t frame,
                     BITMAP* picture) {
    const bool drawn = frame >= options.draw_from;
    if (is_open(outputs.video.file) && drawn && !write_raw_frame(outputs.video, picture))
        return writing_failed(outputs, "the video", options.raw_video);
    if (is_open(outputs.trace.file) && !write_trace_frame(outputs.trace, frame))
        return writing_failed(outputs, "the trace", options.trace);
    // A table with a gap or a torn row would mislead: it ends on its last whole frame of rows.
    if (is_open(outputs.stats.file) && !write_stats_frame(outputs.stats, frame, watch.synchrony)) {
        std::fprintf(stderr,
                     "lumora-sim: writing the statistics '%s' failed at frame %" PRId64
                     "; the table ends at the frame before\n",
                     options.stats.c_str(), frame);
        abandon_sim_outputs(outputs);
        return false;
    }
    if (is_open(outputs.wav.file) && !write_wav_frame(outputs.wav, watch.sound))
        return writing_failed(outputs, "the sound", options.audio);
    if (is_open(outputs.midi.file.file) &&
        !write_midi_recording_frame(outputs.midi, frame, frame_peaks()))
        return writing_failed(outputs, "the MIDI file", options.midi);
    if (!options.frames_dir.empty() && drawn && frame % options.every == 0) {
        char* path = outputs.series_path.data();
        std::snprintf(path, outputs.series_path.size(), "%s/frame-%06" PRId64 ".png",
                      options.frames_dir.c_str(), ++outputs.series_count);
        // A series with a gap would make a video that skips: stop at the first failure.
        if (!save_shot(path, picture)) {
            std::fprintf(stderr, "lumora-sim: cannot write the picture '%s'\n", path);
            abandon_sim_outputs(outputs);
            return false;
        }
    }
    return true;
}

bool close_sim_outputs(SimOutputs& outputs, const SimOptions& options, BITMAP* picture) {
    if (!close_output_file(outputs.video.file))
        return writing_failed(outputs, "the video", options.raw_video);
    if (!close_output_file(outputs.trace.file))
        return writing_failed(outputs, "the trace", options.trace);
    if (!close_wav_file(outputs.wav)) return writing_failed(outputs, "the sound", options.audio);
    if (!close_midi_recording(outputs.midi, true))
        return writing_failed(outputs, "the MIDI file", options.midi);
    if (!close_output_file(outputs.stats.file))
        return writing_failed(outputs, "the statistics", options.stats);
    if (!options.shot.empty() && !save_shot(options.shot, picture)) {
        std::fprintf(stderr, "lumora-sim: cannot write the picture '%s'\n", options.shot.c_str());
        return false;
    }
    return true;
}

void abandon_sim_outputs(SimOutputs& outputs) {
    close_output_file(outputs.video.file);
    close_output_file(outputs.trace.file);
    close_wav_file(outputs.wav);
    close_midi_recording(outputs.midi, false);
    close_output_file(outputs.stats.file);
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
