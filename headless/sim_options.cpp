#include "headless/sim_options.h"

#include <cstring>

#include "files/whole_number.h"
#include "headless/wav_file.h"

const char* const SIM_USAGE =
    "usage: lumora-sim [--settings FILE] [--assets DIR] [--seed N] [--frames N] [--input FILE]\n"
    "                  [--trace FILE] [--shot FILE] [--depth 15|16|24|32] [--no-draw]\n"
    "                  [--reference] [--stats FILE [--stats-every N]]\n"
    "                  [--frames-dir DIR [--every N]] [--audio FILE.wav]\n"
    "       lumora-sim --version\n"
    "       lumora-sim --fields\n";

// A whole number from 0 to hi, digits only.
static bool parse_count(const char* text, int64_t hi, int64_t& value) {
    return parse_whole_number(text, Signs::NONE, 0, hi, value);
}

bool parse_sim_options(int argc, char** argv, SimOptions& options, std::string& error) {
    bool stats_every_given = false;
    bool every_given = false;
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
                                 name == "--every" || name == "--audio";
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
        } else if (name == "--audio") {
            options.audio = value;
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
    return true;
}

bool is_png_name(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string end = path.substr(path.size() - 4);
    return end[0] == '.' && (end[1] == 'p' || end[1] == 'P') && (end[2] == 'n' || end[2] == 'N') &&
           (end[3] == 'g' || end[3] == 'G');
}
