// Whole frames from fixed seeds end in pinned worlds and pictures. The sameness tests compare
// the fast paths with the straightforward ones; these catch a change that alters both alike,
// and a build (without SSE2, with the sanitizers) whose arithmetic drifts.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "app/run.h"
#include "app/shell.h"
#include "sim/random.h"
#include "sim/world.h"
#include "tests/support.h"
#include "ui/input.h"
#include "ui/interface_state.h"
#include "ui/mouse.h"

namespace {

constexpr int FRAMES = 100;

// What a frame changes of the world: the firefly and swarm tables and the random generator.
uint64_t world_hash() {
    uint64_t h = fnv1a(fireflies, firefly_capacity * sizeof(Firefly));
    h = fnv1a(swarms, sizeof swarms, h);
    return fnv1a(&random_state, sizeof random_state, h);
}

// The pixels of every row, without whatever padding the library keeps between rows.
uint64_t picture_hash(BITMAP* bmp) {
    const size_t row = static_cast<size_t>(bmp->w) * ((bitmap_color_depth(bmp) + 7) / 8);
    uint64_t h = FNV_START;
    for (int y = 0; y < bmp->h; ++y) h = fnv1a(bmp->line[y], row, h);
    return h;
}

// The left button held on a circle round the middle of the field, the right one pressed every
// 20 frames to take the next tool: lure, attract, repel and both swirls, 20 frames each.
InputSnapshot every_tool(int frame) {
    InputSnapshot in;
    const double angle = frame * 0.1;
    in.mouse_x = SCREEN_W_PX / 2 + static_cast<int>(150 * std::cos(angle));
    in.mouse_y = SCREEN_H_PX / 2 + static_cast<int>(150 * std::sin(angle));
    in.mouse_b = MOUSE_LEFT | (frame % 20 == 19 && frame < 80 ? MOUSE_RIGHT : 0);
    return in;
}

InputSnapshot no_input(int) { return InputSnapshot(); }

InputSnapshot space_held(int) {
    InputSnapshot in;
    in.held[KEY_SPACE] = true;
    return in;
}

struct PinnedRun {
    const char* name;
    uint32_t seed;
    int depth;
    InputSnapshot (*input)(int frame);
    int last_tool;
    uint64_t world;
    uint64_t picture;
};

// The 16-bit run is not the last, so the media stay at the depth the other tests draw at.
const PinnedRun RUNS[] = {
    {"default settings", 1, 32, no_input, TOOL_LURE, 0x45c0682d412f000bu, 0x63e62cc7b73f34c2u},
    {"16-bit", 2, 16, no_input, TOOL_LURE, 0x338dd12f84d902a7u, 0x5deb7e733d45f803u},
    {"every mouse tool", 3, 32, every_tool, TOOL_SWIRL_CCW, 0xf499b88949067bb3u,
     0xb3414e9fbe343dbeu},
    {"trails", 4, 32, space_held, TOOL_LURE, 0x3bdb5c39f570726au, 0x3070f1a54e45a8d8u},
};

// Starts a run as lumora-sim does, on the shipped settings and media at the run's depth, from a
// cleared picture: trails keep what it held before the first frame.
BITMAP* start(const PinnedRun& run) {
    RunDef def = default_run_def();
    def.depth = run.depth;
    def.seed = run.seed;
    def.media_dir = LUMORA_ASSETS_DIR;
    def.settings = LUMORA_ASSETS_DIR "/lmr.sav";
    def.settings_given = true;
    Run started;
    start_run(def, started);
    EXPECT_TRUE(started.settings_loaded);
    return started.back_buffer;
}

}  // namespace

TEST(PinnedRuns, WorldAndPictureAfterFixedRuns) {
    for (const PinnedRun& run : RUNS) {
        BITMAP* back_buffer = start(run);
        for (int frame = 0; frame < FRAMES; ++frame)
            run_frame(back_buffer, run.input(frame), FrameOptions());
        EXPECT_EQ(mouse_tool, run.last_tool) << run.name;
        EXPECT_EQ(world_hash(), run.world) << run.name << std::hex << " 0x" << world_hash();
        EXPECT_EQ(picture_hash(back_buffer), run.picture)
            << run.name << std::hex << " 0x" << picture_hash(back_buffer);
    }
    clear_program_state();
}
