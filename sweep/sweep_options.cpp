#include "sweep/sweep_options.h"

#include "app/field_option.h"
#include "files/whole_number.h"
#include "sweep/sweep_file.h"

const char* const SWEEP_USAGE =
    "usage: lumora-sweep SWEEP_FILE [--jobs N] [--out FILE] [--resume] [--shard K/N]\n"
    "                    [--plan] [--run I] [--header] [--assets DIR] [--force]\n"
    "                    [--size WxH] [--fireflies N]\n"
    "       lumora-sweep --version\n"
    "       lumora-sweep --help\n";

const char* const SWEEP_HELP =
    "\n"
    "Runs lumora's frames without a display over every combination of the values the sweep\n"
    "file varies, as often as it repeats them, and writes a table of how far each swarm fell\n"
    "into step: one CSV row per run per swarm.\n"
    "\n"
    "  --jobs N          N runs at once, each in a process of its own (default one per core)\n"
    "  --out FILE        the table goes to FILE instead of standard output\n"
    "  --resume          with --out: keep the runs FILE holds in full, run the rest\n"
    "  --shard K/N       only the runs whose number is K modulo N\n"
    "  --plan            print the run numbers, one a line, and run nothing\n"
    "  --run I           run run I alone and print its rows without the header\n"
    "  --header          print the table's header line only\n"
    "  --assets DIR      the folder of the media files (default the working directory, or\n"
    "                    the installed ../share/lumora beside the program)\n"
    "  --force           allow more than 100,000 runs\n"
    "  --size WxH        every run's field, from 320x240 to 7680x4320 (default 1024x768,\n"
    "                    or the sweep file's size line, which may vary it)\n"
    "  --fireflies N     every run's slots for fireflies, 1 to 50000 (default 2000, or the\n"
    "                    sweep file's fireflies line, which may vary them)\n"
    "  --version         print lumora-sweep and its version\n"
    "  -h, --help        print this help\n"
    "\n"
    "Exit status: 0 done; 1 a run failed (it is named); 2 bad arguments or a broken sweep\n"
    "file (FILE:LINE: what is wrong). See lumora-sweep(6).\n";

// A whole number from lo to hi, digits only.
static bool parse_number(const std::string& text, int64_t lo, int64_t hi, int64_t& value) {
    return parse_whole_number(text, Signs::NONE, lo, hi, value);
}

// The option's flag, or null when it is not an option without a value.
static bool* flag_option(SweepOptions& options, const std::string& name) {
    if (name == "--resume") return &options.resume;
    if (name == "--plan") return &options.plan;
    if (name == "--header") return &options.header;
    if (name == "--force") return &options.force;
    return nullptr;
}

bool parse_sweep_options(int argc, char** argv, SweepOptions& options, std::string& error) {
    bool has_out = false;
    bool has_shard = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h" || name == "--version") {
            (name == "--version" ? options.version : options.help) = true;
            return true;
        }
        if (bool* flag = flag_option(options, name)) {
            *flag = true;
            continue;
        }
        if (name.compare(0, 2, "--") != 0) {
            if (!options.sweep_file.empty()) {
                error = "one sweep file only, not also '" + name + "'";
                return false;
            }
            options.sweep_file = name;
            continue;
        }
        if (name != "--jobs" && name != "--out" && name != "--shard" && name != "--run" &&
            name != "--assets" && name != "--size" && name != "--fireflies") {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = "option " + name + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        int64_t n = 0;
        if (name == "--jobs") {
            if (!parse_number(value, 1, 4096, n)) {
                error = "--jobs takes a whole number from 1 to 4096, not '" + value + "'";
                return false;
            }
            options.jobs = static_cast<int>(n);
        } else if (name == "--out") {
            if (value.empty()) {
                error = "--out needs a file name";
                return false;
            }
            options.out = value;
            has_out = true;
        } else if (name == "--shard") {
            const size_t slash = value.find('/');
            int64_t k = 0;
            if (slash == std::string::npos ||
                !parse_number(value.substr(slash + 1), 1, MAX_RUNS, n) ||
                !parse_number(value.substr(0, slash), 0, n - 1, k)) {
                error = "--shard takes K/N with N from 1 to 4294967296 and K from 0 to N-1, not '" +
                        value + "'";
                return false;
            }
            options.shard_index = k;
            options.shard_count = n;
            has_shard = true;
        } else if (name == "--run") {
            if (!parse_number(value, 0, INT64_MAX, n)) {
                error = "--run takes a run number, not '" + value + "'";
                return false;
            }
            options.run = n;
        } else if (name == "--size") {
            if (!read_field_size(value.c_str(), options.field_w, options.field_h, error))
                return false;
        } else if (name == "--fireflies") {
            if (!read_firefly_capacity(value.c_str(), options.capacity, error)) return false;
        } else {
            options.assets = value;
        }
    }
    if (options.sweep_file.empty()) {
        error = "no sweep file given";
        return false;
    }
    const int modes =
        (options.plan ? 1 : 0) + (options.run >= 0 ? 1 : 0) + (options.header ? 1 : 0);
    if (modes > 1) {
        error = "--plan, --run and --header do not go together";
        return false;
    }
    if (modes == 1 && (has_out || options.resume)) {
        error = "--plan, --run and --header print to standard output: no --out or --resume";
        return false;
    }
    if (options.run >= 0 && has_shard) {
        error = "--run names one run: no --shard";
        return false;
    }
    if (options.resume && !has_out) {
        error = "--resume needs the table to resume: --out FILE";
        return false;
    }
    return true;
}
