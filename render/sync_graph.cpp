#include "render/sync_graph.h"

#include <allegro.h>

#include <cmath>
#include <cstdio>

#include "render/color.h"
#include "render/media.h"
#include "render/shade.h"
#include "sim/world.h"

constexpr int CHART_RIGHT = GRAPH_CHART_LEFT + GRAPH_CHART_W - 1;
constexpr int CHART_BOTTOM = GRAPH_CHART_TOP + GRAPH_CHART_H - 1;
constexpr int LEGEND_LEFT = CHART_RIGHT + 11;
constexpr int LEGEND_LINE_PX = 11;

// The chart row of an order; values outside 0 to 1 stay on the chart's edges.
static int chart_y(float order) {
    const float v = order < 0.0f ? 0.0f : order > 1.0f ? 1.0f : order;
    return CHART_BOTTOM - static_cast<int>(std::lround(v * (GRAPH_CHART_H - 1)));
}

static void draw_frame_and_axes(BITMAP* bmp) {
    const int rim = makecol(90, 140, 100);
    const int grey = makecol(150, 150, 150);
    rect(bmp, GRAPH_LEFT, GRAPH_TOP, GRAPH_RIGHT, GRAPH_BOTTOM, rim);
    rect(bmp, GRAPH_CHART_LEFT - 1, GRAPH_CHART_TOP - 1, CHART_RIGHT + 1, CHART_BOTTOM + 1,
         makecol(70, 80, 75));
    // The line a swarm must stay on or above to count as in step.
    const int sync_y = chart_y(static_cast<float>(SYNC_ORDER));
    const int gold = makecol(120, 100, 40);
    for (int x = GRAPH_CHART_LEFT; x <= CHART_RIGHT; x += 4) putpixel(bmp, x, sync_y, gold);
    textout_ex(bmp, ui_font, "1", GRAPH_LEFT + 8, GRAPH_CHART_TOP - 1, grey, -1);
    textout_ex(bmp, ui_font, "0", GRAPH_LEFT + 8, CHART_BOTTOM - 7, grey, -1);
    textout_ex(bmp, ui_font, "10 s ago", GRAPH_CHART_LEFT, CHART_BOTTOM + 4, grey, -1);
    textout_right_ex(bmp, ui_font, "now", CHART_RIGHT + 1, CHART_BOTTOM + 4, grey, -1);
}

// One swarm's order over the held frames, oldest on the left, as a connected line. Two frames
// share a column, which shows their mean; the latest frame is always in the right column.
static void draw_order_line(BITMAP* bmp, const OrderHistory& history, int s, int color) {
    constexpr int N = ORDER_HISTORY_FRAMES;
    const int newest = (history.next - 1 + N) % N;
    const int columns = (history.count + 1) / 2;
    int last_y = 0;
    for (int back = columns - 1; back >= 0; --back) {
        const int later = (newest - 2 * back + N) % N;
        float order = history.swarm_order[later][s];
        if (2 * back + 1 < history.count) {
            order = (order + history.swarm_order[(later - 1 + N) % N][s]) / 2.0f;
        }
        const int y = chart_y(order);
        if (back == columns - 1) {
            putpixel(bmp, CHART_RIGHT - back, y, color);
        } else {
            vline(bmp, CHART_RIGHT - back, last_y, y, color);
        }
        last_y = y;
    }
}

void draw_sync_graph(BITMAP* bmp, const OrderHistory& history, const Synchrony& now) {
    darken_box(bmp, GRAPH_LEFT, GRAPH_TOP, GRAPH_RIGHT, GRAPH_BOTTOM);
    draw_frame_and_axes(bmp);

    const int white = makecol(255, 255, 255);
    const int green = makecol(140, 230, 150);
    // Text is formatted here and drawn as it stands: the library's own formatting would
    // allocate in every frame the graph is shown.
    char line[48];
    textout_ex(bmp, ui_font, "SYNCHRONY", GRAPH_LEFT + 8, GRAPH_TOP + 6, green, -1);
    std::snprintf(line, sizeof line, "all fireflies %.2f", now.global_order);
    textout_right_ex(bmp, ui_font, line, CHART_RIGHT + 1, GRAPH_TOP + 6, white, -1);
    textout_ex(bmp, ui_font, "s>t ord  lock", LEGEND_LEFT + 10, GRAPH_TOP + 6, green, -1);

    int legend_y = GRAPH_CHART_TOP;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const SwarmSynchrony& m = now.swarm[s];
        if (m.population <= 0) continue;
        const int color = swarm_color(swarms[s]);
        draw_order_line(bmp, history, s, color);

        rectfill(bmp, LEGEND_LEFT, legend_y, LEGEND_LEFT + 5, legend_y + 5, color);
        const int t = swarms[s].target_swarm;
        if (t >= 1 && t < SWARM_COUNT) {
            std::snprintf(line, sizeof line, "%d>%d %.2f %.2f", s, t, m.order, m.lock);
        } else {
            std::snprintf(line, sizeof line, "%d>- %.2f    -", s, m.order);
        }
        textout_ex(bmp, ui_font, line, LEGEND_LEFT + 10, legend_y - 1, white, -1);
        legend_y += LEGEND_LINE_PX;
    }
}
