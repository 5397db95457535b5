#include "sweep/resume.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "files/input_file.h"
#include "sim/synchrony.h"
#include "sim/world.h"
#include "sweep/fingerprint.h"
#include "sweep/plan.h"

namespace {

enum class Row { GOOD, OTHER_SWEEP, BAD };

// Whether line is the row of swarm `swarm` of run `run` exactly as this sweep writes it: the
// run's prefix, values a run can give, printed the way a run prints them, and the sweep's
// fingerprint. A row that ends in another fingerprint is another sweep's.
Row check_row(const SweepFile& sweep, const std::string& fingerprint, const std::string& line,
              int64_t run, int swarm) {
    // Whatever else differs, a row that names another sweep says so.
    const size_t last = line.rfind(',') + 1;
    if (last > 0 && line.size() - last == FINGERPRINT_DIGITS &&
        line.find_first_not_of("0123456789abcdef", last) == std::string::npos &&
        line.compare(last, std::string::npos, fingerprint) != 0)
        return Row::OTHER_SWEEP;
    if (run < 0 || run >= run_count(sweep)) return Row::BAD;
    const std::string prefix = row_prefix(plan_run(sweep, run));
    if (line.compare(0, prefix.size(), prefix) != 0) return Row::BAD;
    int s = 0, population = 0, used = -1;
    double final_order = 0.0, mean_order = 0.0;
    long long sync_frame = 0;
    char written_by[FINGERPRINT_DIGITS + 1] = "";
    const char* rest = line.c_str() + prefix.size();
    if (std::sscanf(rest, "%d,%d,%lf,%lf,%lld,%16[0-9a-f]%n", &s, &population, &final_order,
                    &mean_order, &sync_frame, written_by, &used) != 6 ||
        rest[used] != '\0')
        return Row::BAD;
    char again[160];
    std::snprintf(again, sizeof again, "%d,%d,%.4f,%.4f,%lld,%s", s, population, final_order,
                  mean_order, sync_frame, written_by);
    // A swarm that fell into step did so at a frame that leaves the run time to hold the step.
    const long long last_sync = sweep.frames - SYNC_HOLD_FRAMES + 1;
    if (std::strcmp(again, rest) != 0 || s != swarm || population < 0 ||
        population > MAX_FIREFLIES || final_order < 0.0 || final_order > 1.0 || mean_order < 0.0 ||
        mean_order > 1.0 || (sync_frame != -1 && (sync_frame < 1 || sync_frame > last_sync)) ||
        fingerprint != written_by)
        return Row::BAD;
    return Row::GOOD;
}

}  // namespace

bool read_finished_runs(const std::string& path, const SweepFile& sweep,
                        const std::string& fingerprint, FinishedRuns& finished,
                        std::string& error) {
    finished = FinishedRuns{};
    const std::string header = table_header(sweep);
    // No table of this sweep is longer than its header and all its rows at their longest.
    const size_t row_max = 128 + 12 * sweep.vary.size();
    const size_t max_bytes = header.size() + static_cast<size_t>(run_count(sweep)) * 9 * row_max;
    std::string text;
    const InputFault fault = read_input_file(path.c_str(), max_bytes, text);
    if (fault == InputFault::MISSING) return true;
    if (fault != InputFault::NONE) {
        error = "the table '" + path + "' " + input_fault_text(fault);
        return false;
    }
    finished.file_bytes = static_cast<int64_t>(text.size());
    // A sweep killed before its header was whole starts again from nothing.
    if (text.size() < header.size() && header.compare(0, text.size(), text) == 0) return true;
    if (text.compare(0, header.size(), header) != 0) {
        error = path + ":1: the header is not this sweep's";
        return false;
    }

    std::unordered_set<int64_t> seen;
    size_t pos = header.size();
    int line = 1;
    while (pos < text.size()) {
        const size_t run_start = pos;
        int64_t run = -1;
        for (int swarm = 1; swarm < SWARM_COUNT; ++swarm) {
            const size_t end = text.find('\n', pos);
            // The table ends inside this run: it was cut short and is to be run again.
            if (end == std::string::npos) {
                std::sort(finished.runs.begin(), finished.runs.end());
                finished.keep_bytes = static_cast<int64_t>(run_start);
                return true;
            }
            const std::string row = text.substr(pos, end - pos);
            ++line;
            if (swarm == 1) run = std::strtoll(row.c_str(), nullptr, 10);
            const Row checked = check_row(sweep, fingerprint, row, run, swarm);
            if (checked == Row::OTHER_SWEEP) {
                error = path + ":" + std::to_string(line) +
                        ": written by another sweep (other frames, base settings or runs); "
                        "resume it with the sweep that wrote it, or give a new --out";
                return false;
            }
            if (checked == Row::BAD) {
                error = path + ":" + std::to_string(line) + ": not the row of swarm " +
                        std::to_string(swarm) + " of a run of this sweep";
                return false;
            }
            pos = end + 1;
        }
        if (!seen.insert(run).second) {
            error = path + ":" + std::to_string(line) + ": run " + std::to_string(run) + " again";
            return false;
        }
        finished.runs.push_back(run);
    }
    std::sort(finished.runs.begin(), finished.runs.end());
    finished.keep_bytes = static_cast<int64_t>(pos);
    return true;
}

bool holds_run(const std::vector<int64_t>& runs, int64_t run) {
    return std::binary_search(runs.begin(), runs.end(), run);
}
