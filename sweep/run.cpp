#include "sweep/run.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "app/shell.h"
#include "sim/synchrony.h"
#include "sweep/plan.h"
#include "ui/input.h"
#include "ui/settings_file.h"

bool execute_run(const RunSetup& setup, int64_t run, std::string& rows, std::string& error) {
    if (setup.missing_media != nullptr) {
        error =
            "the file \"" + std::string(setup.missing_media) + "\" is missing or cannot be read";
        return false;
    }
    const SweepFile& sweep = *setup.sweep;
    const RunPlan plan = plan_run(sweep, run);

    // The same start as lumora-sim's, with the run's seed; the run's values are written into
    // the table it loaded.
    RunDef def = setup.def;
    def.seed = plan.seed;
    def.field_w = plan.field_w;
    def.field_h = plan.field_h;
    def.capacity = plan.capacity;
    Run started;
    start_run(def, started);
    if (std::memcmp(swarms, setup.base, sizeof swarms) != 0) {
        error = "the settings file '" + setup.settings_path + "' changed or cannot be read";
        return false;
    }
    apply_run_values(sweep, plan, swarms);

    static const InputSnapshot NO_INPUT;
    const FrameOptions options = frame_options_of(def);
    SyncTimer timer = make_sync_timer();
    double order_sum[SWARM_COUNT] = {};
    for (int64_t frame = 1; frame <= sweep.frames; ++frame) {
        run_frame(started.back_buffer, NO_INPUT, options);
        track_synchrony(timer, frame, watch.synchrony);
        for (int s = 1; s < SWARM_COUNT; ++s) order_sum[s] += watch.synchrony.swarm[s].order;
    }

    const std::string prefix = row_prefix(plan);
    rows.clear();
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const SwarmSynchrony& m = watch.synchrony.swarm[s];
        char columns[160];
        std::snprintf(columns, sizeof columns, "%d,%d,%.4f,%.4f,%" PRId64 ",%s\n", s, m.population,
                      m.order, order_sum[s] / static_cast<double>(sweep.frames),
                      timer.sync_frame[s], setup.fingerprint.c_str());
        rows += prefix + columns;
    }
    return true;
}
