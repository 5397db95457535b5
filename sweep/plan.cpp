#include "sweep/plan.h"

#include <algorithm>

int64_t combination_count(const SweepFile& sweep) {
    int64_t n = static_cast<int64_t>(std::max<size_t>(sweep.sizes.size(), 1)) *
                static_cast<int64_t>(std::max<size_t>(sweep.fireflies.size(), 1));
    for (const VaryLine& v : sweep.vary) n *= v.value_count;
    return n;
}

int64_t run_count(const SweepFile& sweep) { return combination_count(sweep) * sweep.repetitions; }

uint32_t run_seed(uint32_t base_seed, int64_t run) {
    uint64_t z = (uint64_t{base_seed} << 32) + static_cast<uint64_t>(run);
    z += 0x9e3779b97f4a7c15u;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    z ^= z >> 31;
    return static_cast<uint32_t>(z >> 32);
}

RunPlan plan_run(const SweepFile& sweep, int64_t run) {
    const int64_t combinations = combination_count(sweep);
    RunPlan plan{run, run / combinations, run_seed(sweep.seed, run), {}};
    plan.values.resize(sweep.vary.size());
    int64_t rest = run % combinations;
    for (size_t i = sweep.vary.size(); i-- > 0;) {
        const VaryLine& v = sweep.vary[i];
        plan.values[i] = vary_value(v, rest % v.value_count);
        rest /= v.value_count;
    }
    if (!sweep.fireflies.empty()) {
        const int64_t n = static_cast<int64_t>(sweep.fireflies.size());
        plan.capacity = sweep.fireflies[static_cast<size_t>(rest % n)];
        plan.fireflies_column = n > 1;
        rest /= n;
    }
    if (!sweep.sizes.empty()) {
        const int64_t n = static_cast<int64_t>(sweep.sizes.size());
        const FieldSize& size = sweep.sizes[static_cast<size_t>(rest % n)];
        plan.field_w = size.w;
        plan.field_h = size.h;
        plan.size_column = n > 1;
    }
    return plan;
}

void apply_run_values(const SweepFile& sweep, const RunPlan& plan, Swarm (&table)[SWARM_COUNT]) {
    for (size_t i = 0; i < sweep.vary.size(); ++i) {
        const VaryLine& v = sweep.vary[i];
        for (int s = v.first_swarm; s <= v.last_swarm; ++s)
            swarm_field(table[s], v.field) = plan.values[i];
    }
}

std::string table_header(const SweepFile& sweep) {
    std::string header = "run,repetition,seed,";
    if (sweep.sizes.size() > 1) header += "size,";
    if (sweep.fireflies.size() > 1) header += "fireflies,";
    for (const VaryLine& v : sweep.vary) header += v.column + ",";
    return header + "swarm,population,final_order,mean_order,sync_frame,sweep\n";
}

std::string row_prefix(const RunPlan& plan) {
    std::string prefix = std::to_string(plan.run) + "," + std::to_string(plan.repetition) + "," +
                         std::to_string(plan.seed) + ",";
    if (plan.size_column)
        prefix += std::to_string(plan.field_w) + "x" + std::to_string(plan.field_h) + ",";
    if (plan.fireflies_column) prefix += std::to_string(plan.capacity) + ",";
    for (int32_t v : plan.values) prefix += std::to_string(v) + ",";
    return prefix;
}
