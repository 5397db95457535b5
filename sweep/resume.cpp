#include "sweep/resume.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include "sweep/plan.h"

namespace {

// Whether line is the row of swarm `swarm` of run `run` as this sweep writes it.
bool is_row(const SweepFile& sweep, const std::string& line, int64_t run, int swarm) {
    if (run < 0 || run >= run_count(sweep)) return false;
    const std::string prefix = row_prefix(plan_run(sweep, run));
    if (line.compare(0, prefix.size(), prefix) != 0) return false;
    int s = 0, population = 0, used = -1;
    double final_order = 0.0, mean_order = 0.0;
    long long sync_frame = 0;
    const char* rest = line.c_str() + prefix.size();
    return std::sscanf(rest, "%d,%d,%lf,%lf,%lld%n", &s, &population, &final_order, &mean_order,
                       &sync_frame, &used) == 5 &&
           rest[used] == '\0' && s == swarm;
}

}  // namespace

bool read_finished_runs(const std::string& path, const SweepFile& sweep, FinishedRuns& finished,
                        std::string& error) {
    finished = FinishedRuns{};
    std::ifstream in(path, std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string text = whole.str();
    finished.file_bytes = static_cast<int64_t>(text.size());
    const std::string header = table_header(sweep);
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
            if (!is_row(sweep, row, run, swarm)) {
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
