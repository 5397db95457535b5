#include "sweep/resume.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_set>

#include "files/input_file.h"
#include "files/whole_number.h"
#include "sim/synchrony.h"
#include "sim/world.h"
#include "sweep/fingerprint.h"
#include "sweep/plan.h"

namespace {

enum class Row { GOOD, OTHER_SWEEP, BAD };

// The comma-separated columns of text, exactly as many as columns holds.
template <size_t N>
bool split_columns(std::string_view text, std::string_view (&columns)[N]) {
    for (size_t i = 0; i < N; ++i) {
        const size_t comma = i + 1 < N ? text.find(',') : text.size();
        if (comma == std::string_view::npos) return false;
        columns[i] = text.substr(0, comma);
        text.remove_prefix(std::min(comma + 1, text.size()));
    }
    return text.empty();
}

// Whether text is a whole number from lo to hi as a run prints it: no leading zeros, no plus.
bool is_printed_number(std::string_view text, int64_t lo, int64_t hi) {
    int64_t value = 0;
    return parse_whole_number(text, Signs::MINUS, lo, hi, value) && std::to_string(value) == text;
}

// Whether text is an order from 0 to 1 as a run prints it, with four decimals ("0.8125").
bool is_order(std::string_view text) {
    int64_t whole = 0, fraction = 0;
    return text.size() == 6 && text[1] == '.' &&
           parse_whole_number(text.substr(0, 1), Signs::NONE, 0, 1, whole) &&
           parse_whole_number(text.substr(2), Signs::NONE, 0, 9999, fraction) &&
           whole * 10000 + fraction <= 10000;
}

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
    const RunPlan plan = plan_run(sweep, run);
    const std::string prefix = row_prefix(plan);
    if (line.compare(0, prefix.size(), prefix) != 0) return Row::BAD;
    const std::string_view rest = std::string_view(line).substr(prefix.size());
    std::string_view columns[6];
    if (!split_columns(rest, columns)) return Row::BAD;
    // A swarm that fell into step did so at a frame that leaves the run time to hold the step.
    const int64_t last_sync = sweep.frames - SYNC_HOLD_FRAMES + 1;
    const bool good = is_printed_number(columns[0], swarm, swarm) &&
                      is_printed_number(columns[1], 0, plan.capacity) && is_order(columns[2]) &&
                      is_order(columns[3]) &&
                      (columns[4] == "-1" || is_printed_number(columns[4], 1, last_sync)) &&
                      columns[5] == fingerprint;
    return good ? Row::GOOD : Row::BAD;
}

}  // namespace

bool read_finished_runs(const std::string& path, const SweepFile& sweep,
                        const std::string& fingerprint, FinishedRuns& finished,
                        std::string& error) {
    finished = FinishedRuns{};
    const std::string header = table_header(sweep);
    // No table of this sweep is longer than its header and all its rows at their longest.
    const size_t row_max = 128 + 12 * sweep.vary.size() + 18;
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
            if (swarm == 1) {
                const std::string_view first = std::string_view(row).substr(0, row.find(','));
                if (!parse_whole_number(first, Signs::NONE, 0, INT64_MAX, run)) run = -1;
            }
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
