#include "headless/sim_options.h"

#include <cstring>

#include "app/field_option.h"
#include "files/whole_number.h"
#include "headless/wav_file.h"

const char* const SIM_USAGE =
    "usage: lumora-sim [--settings FILE] [--assets DIR] [--seed N] [--frames N] [--input FILE]\n"
    "                  [--trace FILE] [--shot FILE] [--depth 15|16|24|32] [--no-draw]\n"
    "                  [--reference] [--stats FILE [--stats-every N]]\n"
    "                  [--frames-dir DIR [--every N]] [--raw-video FILE|-] [--draw-from N]\n"
    "                  [--audio FILE.wav] [--midi FILE.mid] [--osc-out HOST:PORT]\n"
    "                  [--osc-in [HOST:]PORT] [--size WxH] [--fireflies N]\n"
    "       lumora-sim --replay FILE [--pictures-dir DIR] [the options above but --settings,\n"
    "                  --seed, --input, --depth and --osc-in]\n"
    "       lumora-sim --version\n"
    "       lumora-sim --fields\n"
    "       lumora-sim --help\n";

const char* const SIM_HELP =
    "\n"
    "Runs lumora's frames without a window, title screen or pacing and prints\n"
    "frames=N fireflies=M seconds=S fps=F. A fixed seed repeats a run exactly.\n"
    "\n"
    "  --settings FILE    the settings file loaded at the start, saved by S and loaded by L\n"
    "                     (default lmr.sav); or a picture F12 kept, whose swarms are loaded\n"
    "                     (S then refuses to write over it)\n"
    "  --assets DIR       the folder of the media files (default the working directory, or\n"
    "                     the installed ../share/lumora beside the program)\n"
    "  --seed N           the random generator's seed, 0 to 4294967295 (default 1)\n"
    "  --frames N         the number of frames to run (default 1000)\n"
    "  --input FILE       keys and mouse from a script of lines FRAME KEYS MOUSE_X MOUSE_Y\n"
    "                     MOUSE_B (keys comma-separated without KEY_, or -)\n"
    "  --trace FILE       the interface, the changed swarm records and every live firefly\n"
    "                     after each frame\n"
    "  --shot FILE        the last picture: PNG when FILE ends in .png, BMP otherwise\n"
    "  --depth N          the colour depth: 15, 16, 24 or 32 (default 32)\n"
    "  --size WxH         the field's size in pixels, from 320x240 to 7680x4320\n"
    "                     (default 1024x768)\n"
    "  --fireflies N      slots for fireflies, 1 to 50000 (default 2000); populations that\n"
    "                     ask for more are cut, the first swarms served first\n"
    "  --no-draw          leave out every drawing step\n"
    "  --reference        the straightforward ways of computing a frame: the same results\n"
    "  --stats FILE       a table of how far each swarm blinks in step, after every frame\n"
    "  --stats-every N    a table row set after every N-th frame only\n"
    "  --frames-dir DIR   a numbered picture series DIR/frame-000001.png, ... for a video\n"
    "  --every N          a picture of the series after every N-th frame only\n"
    "  --raw-video FILE   every picture as raw RGB frames of the field's size for a video\n"
    "                     encoder\n"
    "                     (- for standard output, the summary then going to standard error)\n"
    "  --draw-from N      frames before frame N run without drawing or pictures\n"
    "  --replay FILE      play a session kept by F9 again: its start, input, frames, field\n"
    "                     and slots (--size and --fireflies may only repeat the replay's)\n"
    "  --pictures-dir DIR with --replay: write the pictures F12 kept there, under their names\n"
    "  --audio FILE.wav   the run's sound: PCM, 48000 Hz, stereo, 16 bits, 800 samples a frame\n"
    "  --osc-out HOST:PORT  send an OSC bundle of each frame's flashes there over UDP\n"
    "  --osc-in [HOST:]PORT take OSC commands at PORT on 127.0.0.1 (or at HOST), acting at\n"
    "                     the next frame; the frames then keep to 60 a second\n"
    "  --midi FILE.mid    the run's flashes as a Standard MIDI File: swarm n on channel n, a\n"
    "                     note per flash, 16 ticks a frame\n"
    "  --version          print lumora-sim and its version\n"
    "  --fields           print the swarm fields a user edits: their places and names\n"
    "  -h, --help         print this help\n"
    "\n"
    "Exit status: 0 done; 1 a missing media file, a settings file named with --settings\n"
    "that cannot be loaded, an output that cannot be made or written whole, or a replay that\n"
    "plays differently from its session; 2 bad arguments, an unreadable input script or\n"
    "replay, a trace that cannot be opened, an output that is one of the run's inputs, or\n"
    "an OSC address that cannot be used.\n"
    "See lumora-sim(6).\n";

// A whole number from 0 to hi, digits only.
static bool parse_count(const char* text, int64_t hi, int64_t& value) {
    return parse_whole_number(text, Signs::NONE, 0, hi, value);
}

// Where the options of replays and videos that name a file or a folder keep it; null for any
// other option.
static std::string* replay_path_option(SimOptions& options, const std::string& name) {
    if (name == "--replay") return &options.replay;
    if (name == "--pictures-dir") return &options.pictures_dir;
    if (name == "--osc-out") return &options.osc.osc_out;
    if (name == "--osc-in") return &options.osc.osc_in;
    return name == "--raw-video" ? &options.raw_video : nullptr;
}

// The options of replays and videos that do not go together.
static bool check_replay_options(const SimOptions& options, const std::string& against_replay,
                                 std::string& error) {
    if (!options.replay.empty() && !against_replay.empty()) {
        error = against_replay + " cannot go with --replay: the replay brings its own";
        return false;
    }
    if (!options.pictures_dir.empty() && options.replay.empty()) {
        error = "--pictures-dir needs --replay: it writes again the pictures a session kept";
        return false;
    }
    // A kept picture is written at its frame, so every frame must be drawn.
    if (!options.pictures_dir.empty() && (!options.draw || options.draw_from > 1)) {
        error =
            "--pictures-dir needs every frame drawn: it cannot go with --no-draw or --draw-from";
        return false;
    }
    if (!options.draw && (!options.raw_video.empty() || options.draw_from > 1)) {
        error = "--raw-video and --draw-from need drawing: they cannot go with --no-draw";
        return false;
    }
    return true;
}

bool parse_sim_options(int argc, char** argv, SimOptions& options, std::string& error) {
    bool stats_every_given = false;
    bool every_given = false;
    // The options a replay brings along itself.
    std::string against_replay;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--no-draw") {
            options.draw = false;
            continue;
        }
        if (name == "--reference") {
            options.reference = true;
            continue;
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            return true;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (name == "--fields") {
            options.fields = true;
            continue;
        }
        const bool takes_value = name == "--settings" || name == "--assets" || name == "--seed" ||
                                 name == "--frames" || name == "--input" || name == "--trace" ||
                                 name == "--shot" || name == "--depth" || name == "--stats" ||
                                 name == "--stats-every" || name == "--frames-dir" ||
                                 name == "--every" || name == "--draw-from" || name == "--audio" ||
                                 name == "--size" || name == "--fireflies" || name == "--midi" ||
                                 replay_path_option(options, name) != nullptr;
        if (!takes_value) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = "option " + name + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        int64_t n = 0;
        if (name == "--settings") {
            options.settings = value;
            options.settings_given = true;
        } else if (name == "--assets") {
            options.assets = value;
        } else if (name == "--input") {
            options.input = value;
        } else if (name == "--trace") {
            options.trace = value;
        } else if (name == "--shot") {
            options.shot = value;
        } else if (name == "--stats") {
            options.stats = value;
        } else if (name == "--frames-dir") {
            options.frames_dir = value;
        } else if (std::string* path = replay_path_option(options, name)) {
            *path = value;
        } else if (name == "--draw-from") {
            if (!parse_count(value, INT64_MAX, n) || n == 0) {
                error = "--draw-from takes a frame number of 1 or more, not '" +
                        std::string(value) + "'";
                return false;
            }
            options.draw_from = n;
        } else if (name == "--audio") {
            options.audio = value;
        } else if (name == "--midi") {
            options.midi = value;
        } else if (name == "--size") {
            if (!read_field_size(value, options.field_w, options.field_h, error)) return false;
            options.size_given = true;
        } else if (name == "--fireflies") {
            if (!read_firefly_capacity(value, options.capacity, error)) return false;
            options.fireflies_given = true;
        } else if (name == "--stats-every" || name == "--every") {
            if (!parse_count(value, INT64_MAX, n) || n == 0) {
                error =
                    name + " takes a whole number of 1 or more, not '" + std::string(value) + "'";
                return false;
            }
            (name == "--every" ? options.every : options.stats_every) = n;
        } else if (name == "--seed") {
            if (!parse_count(value, UINT32_MAX, n)) {
                error = "--seed takes a whole number from 0 to 4294967295, not '" +
                        std::string(value) + "'";
                return false;
            }
            options.seed = static_cast<uint32_t>(n);
        } else if (name == "--frames") {
            if (!parse_count(value, INT64_MAX, n)) {
                error =
                    "--frames takes a whole number of 0 or more, not '" + std::string(value) + "'";
                return false;
            }
            options.frames = n;
            options.frames_given = true;
        } else {
            if (!parse_count(value, 32, n) || (n != 15 && n != 16 && n != 24 && n != 32)) {
                error = "--depth takes 15, 16, 24 or 32, not '" + std::string(value) + "'";
                return false;
            }
            options.depth = static_cast<int>(n);
        }
        if (options.settings.empty() || (name != "--assets" && value[0] == '\0')) {
            error = "option " + name + " needs a non-empty value";
            return false;
        }
        if (name == "--settings" || name == "--seed" || name == "--input" || name == "--depth" ||
            name == "--osc-in")
            against_replay = name;
        if (name == "--stats-every") stats_every_given = true;
        if (name == "--every") every_given = true;
    }
    if (stats_every_given && options.stats.empty()) {
        error = "--stats-every needs --stats";
        return false;
    }
    if (every_given && options.frames_dir.empty()) {
        error = "--every needs --frames-dir";
        return false;
    }
    if (!options.audio.empty() && options.frames > WAV_MAX_FRAMES) {
        error = "--audio holds at most " + std::to_string(WAV_MAX_FRAMES) + " frames";
        return false;
    }
    // A series without drawing would be the same black picture over and over.
    if (!options.frames_dir.empty() && !options.draw) {
        error = "--frames-dir needs drawing: it cannot go with --no-draw";
        return false;
    }
    return check_replay_options(options, against_replay, error);
}

bool is_png_name(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string end = path.substr(path.size() - 4);
    return end[0] == '.' && (end[1] == 'p' || end[1] == 'P') && (end[2] == 'n' || end[2] == 'N') &&
           (end[3] == 'g' || end[3] == 'G');
}
