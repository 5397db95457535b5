#include "sweep/progress.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <ctime>

static double monotonic_s() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

SweepProgress start_progress(int64_t total) {
    SweepProgress p;
    p.total = total;
    p.start_s = monotonic_s();
    p.shown = isatty(STDERR_FILENO) == 1;
    return p;
}

void note_run_done(SweepProgress& p) {
    ++p.done;
    if (!p.shown || p.total <= 0) return;
    // The runs left take as long as those done took, on average.
    const double elapsed = monotonic_s() - p.start_s;
    const double left =
        elapsed / static_cast<double>(p.done) * static_cast<double>(p.total - p.done);
    std::fprintf(stderr, "\rlumora-sweep: %" PRId64 " of %" PRId64 " runs, %.0f s left ", p.done,
                 p.total, left);
}

void end_progress(const SweepProgress& p) {
    if (p.shown && p.done > 0) std::fputc('\n', stderr);
}
