// lumora-sweep: runs lumora over a grid of swarm settings and seeds without a display, and
// writes a table of how fast each swarm fell into step. Runs go to a pool of processes here,
// or one at a time (--run) and in shards (--shard) to whatever spreads work over machines.
#include <allegro.h>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/file_places.h"
#include "app/run.h"
#include "app/shell.h"
#include "files/input_file.h"
#include "files/run_files.h"
#include "files/settings_file.h"
#include "files/write_all.h"
#include "sweep/fingerprint.h"
#include "sweep/plan.h"
#include "sweep/pool.h"
#include "sweep/progress.h"
#include "sweep/resume.h"
#include "sweep/run.h"
#include "sweep/sweep_file.h"
#include "sweep/sweep_options.h"
#include "ui/folders.h"

constexpr int EXIT_BAD_INPUT = 2;

static int core_count() {
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0) return CPU_COUNT(&cores);
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<int>(n) : 1;
}

// Reads the sweep file, which must be a regular file of at most SWEEP_FILE_MAX bytes.
static bool read_sweep(const SweepOptions& options, SweepFile& sweep) {
    std::string text;
    const InputFault fault = read_input_file(options.sweep_file.c_str(), SWEEP_FILE_MAX, text);
    if (fault != InputFault::NONE) {
        std::fprintf(stderr, "lumora-sweep: the sweep file '%s' %s\n", options.sweep_file.c_str(),
                     input_fault_text(fault));
        return false;
    }
    std::string error;
    if (!read_sweep_file(text, options.sweep_file, options.force, sweep, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    // The options stand for the file's lines; a file with its own keeps them.
    if ((options.field_w > 0 && !sweep.sizes.empty()) ||
        (options.capacity > 0 && !sweep.fireflies.empty())) {
        std::fprintf(stderr,
                     "lumora-sweep: the sweep file '%s' gives the %s itself: --%s cannot go "
                     "with it\n",
                     options.sweep_file.c_str(),
                     options.field_w > 0 && !sweep.sizes.empty() ? "size" : "fireflies",
                     options.field_w > 0 && !sweep.sizes.empty() ? "size" : "fireflies");
        return false;
    }
    if (options.field_w > 0) sweep.sizes.push_back({options.field_w, options.field_h});
    if (options.capacity > 0) sweep.fireflies.push_back(options.capacity);
    return true;
}

// Reads the base settings once, so that a broken settings file stops the sweep before any run.
static bool read_base_settings(const SweepOptions& options, const SweepFile& sweep,
                               RunSetup& setup) {
    setup.settings_path = resolve_settings_path(options.sweep_file, sweep.settings);
    InputFault fault = InputFault::NONE;
    const bool ok = read_settings_file(setup.settings_path.c_str(), setup.base, fault);
    if (!ok) {
        std::fprintf(stderr, "%s:%d: cannot read the settings file '%s': it %s\n",
                     options.sweep_file.c_str(), sweep.settings_line, setup.settings_path.c_str(),
                     fault != InputFault::NONE ? input_fault_text(fault)
                                               : "does not begin with 200 whole numbers");
    }
    return ok;
}

// Says that standard output could not take what was printed; returns the exit status.
static int finish_standard_output(const char* what) {
    if (flush_standard_output()) return 0;
    std::fprintf(stderr, "lumora-sweep: writing %s failed: %s\n", what, std::strerror(errno));
    return 1;
}

// Opens the table for the sweep's rows: a new one, or with --resume the old one cut back to
// its complete runs. The header is written when the table has none. Nothing the sweep reads
// may be its table. Returns the descriptor, or -1 with the exit status.
static int open_table(const SweepOptions& options, const SweepFile& sweep, const RunSetup& setup,
                      const std::string& media, FinishedRuns& finished, int& status) {
    status = 1;
    if (options.out.empty()) {
        if (write_all(STDOUT_FILENO, table_header(sweep))) return STDOUT_FILENO;
        std::fprintf(stderr, "lumora-sweep: writing the table failed: %s\n", std::strerror(errno));
        return -1;
    }
    status = EXIT_BAD_INPUT;
    RunFiles files;
    note_input(files, "the sweep file", options.sweep_file);
    note_input(files, "the base settings file", setup.settings_path);
    for (const std::string& path : media_paths(media)) note_input(files, "the media file", path);
    std::string error;
    if (!note_output(files, "the table", options.out, error) ||
        (options.resume &&
         !read_finished_runs(options.out, sweep, setup.fingerprint, finished, error))) {
        std::fprintf(stderr, "lumora-sweep: %s\n", error.c_str());
        return -1;
    }
    // A table that cannot be written fails the way standard output does.
    status = 1;
    // Only a resumed table is cut, to its whole runs; any other starts empty. Neither asks
    // more of the file than writing, so a pipe or a device serves as a table too.
    const int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (options.resume ? 0 : O_TRUNC);
    const int fd = open(options.out.c_str(), flags, 0644);
    const bool cut = options.resume && finished.keep_bytes < finished.file_bytes;
    if (fd < 0 || (cut && ftruncate(fd, finished.keep_bytes) != 0) ||
        (finished.keep_bytes == 0 && !write_all(fd, table_header(sweep)))) {
        std::fprintf(stderr, "lumora-sweep: cannot write the table '%s': %s\n", options.out.c_str(),
                     std::strerror(errno));
        if (fd >= 0) close(fd);
        return -1;
    }
    return fd;
}

// Runs one run and prints its rows; returns the exit status.
static int run_one(const RunSetup& setup, int64_t run) {
    std::string rows, error;
    if (!execute_run(setup, run, rows, error)) {
        std::fprintf(stderr, "lumora-sweep: run %" PRId64 " failed: %s\n", run, error.c_str());
        return 1;
    }
    if (write_all(STDOUT_FILENO, rows)) return 0;
    std::fprintf(stderr, "lumora-sweep: writing the rows of run %" PRId64 " failed: %s\n", run,
                 std::strerror(errno));
    return 1;
}

// Runs every run of the shard that the table does not hold yet; returns the exit status.
static int run_all(const SweepOptions& options, const SweepFile& sweep, const RunSetup& setup,
                   const std::string& media) {
    FinishedRuns finished;
    int status = 0;
    const int out_fd = open_table(options, sweep, setup, media, finished, status);
    if (out_fd < 0) return status;
    const int64_t runs = run_count(sweep);
    int64_t next = options.shard_index;
    auto next_run = [&]() -> int64_t {
        while (next < runs && holds_run(finished.runs, next)) next += options.shard_count;
        if (next >= runs) return -1;
        const int64_t run = next;
        next += options.shard_count;
        return run;
    };
    int64_t to_make = 0;
    for (int64_t r = options.shard_index; r < runs; r += options.shard_count)
        to_make += holds_run(finished.runs, r) ? 0 : 1;
    SweepProgress progress = start_progress(to_make);
    const int jobs = options.jobs > 0 ? options.jobs : core_count();
    const bool ok = run_pool(setup, next_run, jobs, out_fd, [&] { note_run_done(progress); });
    end_progress(progress);
    if (out_fd != STDOUT_FILENO && close(out_fd) != 0) {
        std::fprintf(stderr, "lumora-sweep: writing the table '%s' failed: %s\n",
                     options.out.c_str(), std::strerror(errno));
        return 1;
    }
    return ok ? 0 : 1;
}

int main(int argc, char** argv) {
    SweepOptions options;
    std::string error;
    if (!parse_sweep_options(argc, argv, options, error)) {
        std::fprintf(stderr, "lumora-sweep: %s\n%s", error.c_str(), SWEEP_USAGE);
        return EXIT_BAD_INPUT;
    }
    if (options.help) {
        return write_all(STDOUT_FILENO, SWEEP_USAGE) && write_all(STDOUT_FILENO, SWEEP_HELP) ? 0
                                                                                             : 1;
    }
    if (options.version) {
        return write_all(STDOUT_FILENO, "lumora-sweep " LUMORA_VERSION "\n") ? 0 : 1;
    }
    SweepFile sweep;
    if (!read_sweep(options, sweep)) return EXIT_BAD_INPUT;
    const int64_t runs = run_count(sweep);

    if (options.header) {
        std::fputs(table_header(sweep).c_str(), stdout);
        return finish_standard_output("the header");
    }
    if (options.plan) {
        for (int64_t r = options.shard_index; r < runs; r += options.shard_count) {
            if (std::printf("%" PRId64 "\n", r) < 0) break;
        }
        return finish_standard_output("the plan");
    }
    if (options.run >= runs) {
        std::fprintf(stderr, "lumora-sweep: the sweep has runs 0 to %" PRId64 ", not %" PRId64 "\n",
                     runs - 1, options.run);
        return EXIT_BAD_INPUT;
    }

    RunSetup setup;
    setup.sweep = &sweep;
    if (!read_base_settings(options, sweep, setup)) return EXIT_BAD_INPUT;
    setup.fingerprint = sweep_fingerprint(sweep, setup.base);

    // The media are loaded once, by the first start. A sweep that writes a table stops before
    // opening it when one is missing; a run alone (--run) fails with its number, for whatever
    // handed it out.
    setup.def = default_run_def();
    setup.def.program = "lumora-sweep";
    setup.def.media_dir = options.assets;
    setup.def.settings = setup.settings_path;
    setup.def.settings_given = true;
    setup.def.media_may_miss = options.run >= 0;
    setup.def.draw = false;
    Run run;
    start_run(setup.def, run);
    setup.missing_media = run.missing_media;
    // Without --assets the media were found beside the working directory or the program.
    const std::string media = file_places.media_dir;
    const int status =
        options.run >= 0 ? run_one(setup, options.run) : run_all(options, sweep, setup, media);
    return status;
}
