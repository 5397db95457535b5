#include "render/sync_graph.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "render/color.h"
#include "render/overlay_place.h"
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

// The line a swarm must stay on or above to count as in step, dotted, over the bands and under
// the lines.
static void draw_sync_line(BITMAP* bmp, const OverlayPlace& p) {
    const int sync_y = chart_y(static_cast<float>(SYNC_ORDER));
    const int gold = makecol(200, 170, 70);
    for (int x = GRAPH_CHART_LEFT; x <= CHART_RIGHT; x += 3)
        place_putpixel(bmp, p, x, sync_y, gold);
}

static void draw_frame_and_axes(BITMAP* bmp, const OverlayPlace& p) {
    const int rim = makecol(90, 140, 100);
    const int grey = makecol(150, 150, 150);
    place_rect(bmp, p, GRAPH_LEFT, GRAPH_TOP, GRAPH_RIGHT, GRAPH_BOTTOM, rim);
    place_rect(bmp, p, GRAPH_CHART_LEFT - 1, GRAPH_CHART_TOP - 1, CHART_RIGHT + 1, CHART_BOTTOM + 1,
               makecol(70, 80, 75));
    place_text(bmp, p, "1", GRAPH_LEFT + 8, GRAPH_CHART_TOP - 1, grey);
    place_text(bmp, p, "0", GRAPH_LEFT + 8, CHART_BOTTOM - 7, grey);
    place_text(bmp, p, "10 s ago", GRAPH_CHART_LEFT, CHART_BOTTOM + 4, grey);
    place_text(bmp, p, "now", CHART_RIGHT + 1, CHART_BOTTOM + 4, grey, Align::RIGHT);
}

// The frames a column sums up: its own two and the four before them. The order of a chasing
// swarm swings by a third every few frames as phases pass round the ring of chasers; over six
// frames a swing shows as a band around a steady line instead of a comb that hides the rest.
constexpr int COLUMN_WINDOW_FRAMES = 6;

// What one swarm's orders did over the window of a column: their lowest, highest and mean.
struct ColumnSpan {
    float low;
    float high;
    float mean;
};

// The span of swarm s in the column `back` columns left of the newest; false when the history
// holds no frame for it. The latest frame is always in the right column.
static bool column_span(const OrderHistory& history, int s, int back, ColumnSpan& span) {
    constexpr int N = ORDER_HISTORY_FRAMES;
    const int newest_back = 2 * back;  // frames between the newest and the column's last
    if (newest_back >= history.count) return false;
    const int frames = std::min(COLUMN_WINDOW_FRAMES, history.count - newest_back);
    const int last = (history.next - 1 - newest_back + 2 * N) % N;
    span.low = span.high = history.swarm_order[last][s];
    float sum = 0.0f;
    for (int i = 0; i < frames; ++i) {
        const float order = history.swarm_order[(last - i + N) % N][s];
        span.low = std::min(span.low, order);
        span.high = std::max(span.high, order);
        sum += order;
    }
    span.mean = sum / static_cast<float>(frames);
    return true;
}

// The colour a swarm's band tints towards: its own at half the brightness, so that a band is
// light beside the lines and the bands of neighbouring swarms show through each other.
static int band_color(const Swarm& swarm) {
    return makecol(clamp_channel(swarm.color_red) / 2, clamp_channel(swarm.color_green) / 2,
                   clamp_channel(swarm.color_blue) / 2);
}

static int columns_held(const OrderHistory& history) { return (history.count + 1) / 2; }

// One swarm's band: the range of its order in each column, oldest on the left.
static void draw_order_band(BITMAP* bmp, const OverlayPlace& p, const OrderHistory& history, int s,
                            int color) {
    ColumnSpan span;
    for (int back = columns_held(history) - 1; back >= 0; --back) {
        if (!column_span(history, s, back, span)) continue;
        place_tint_vline(bmp, p, CHART_RIGHT - back, chart_y(span.high), chart_y(span.low), color);
    }
}

// One swarm's line: the mean of its order in each column, joined from column to column.
static void draw_order_line(BITMAP* bmp, const OverlayPlace& p, const OrderHistory& history, int s,
                            int color) {
    ColumnSpan span;
    int last_y = -1;
    for (int back = columns_held(history) - 1; back >= 0; --back) {
        if (!column_span(history, s, back, span)) continue;
        const int y = chart_y(span.mean);
        place_vline(bmp, p, CHART_RIGHT - back, last_y < 0 ? y : last_y, y, color);
        last_y = y;
    }
}

void draw_sync_graph(BITMAP* bmp, const OrderHistory& history, const Synchrony& now, int scale) {
    const OverlayPlace p = overlay_place(bmp->w, bmp->h, scale, Anchor::BOTTOM_RIGHT);
    place_darken_box(bmp, p, GRAPH_LEFT, GRAPH_TOP, GRAPH_RIGHT, GRAPH_BOTTOM);
    draw_frame_and_axes(bmp, p);

    const int white = makecol(255, 255, 255);
    const int green = makecol(140, 230, 150);
    // Text is formatted here and drawn as it stands: the library's own formatting would
    // allocate in every frame the graph is shown.
    char line[48];
    place_text(bmp, p, "SYNCHRONY", GRAPH_LEFT + 8, GRAPH_TOP + 6, green);
    std::snprintf(line, sizeof line, "all fireflies %.2f", now.global_order);
    place_text(bmp, p, line, CHART_RIGHT + 1, GRAPH_TOP + 6, white, Align::RIGHT);
    place_text(bmp, p, "s>t ord  lock", LEGEND_LEFT + 10, GRAPH_TOP + 6, green);

    // Every band first, then every line, so that no band covers another swarm's line.
    for (int s = 1; s < SWARM_COUNT; ++s) {
        if (now.swarm[s].population > 0) draw_order_band(bmp, p, history, s, band_color(swarms[s]));
    }
    draw_sync_line(bmp, p);
    int legend_y = GRAPH_CHART_TOP;
    for (int s = 1; s < SWARM_COUNT; ++s) {
        const SwarmSynchrony& m = now.swarm[s];
        if (m.population <= 0) continue;
        const int color = swarm_color(swarms[s]);
        draw_order_line(bmp, p, history, s, color);

        place_rectfill(bmp, p, LEGEND_LEFT, legend_y, LEGEND_LEFT + 5, legend_y + 5, color);
        const int t = swarms[s].target_swarm;
        if (t >= 1 && t < SWARM_COUNT) {
            std::snprintf(line, sizeof line, "%d>%d %.2f %.2f", s, t, m.order, m.lock);
        } else {
            std::snprintf(line, sizeof line, "%d>- %.2f    -", s, m.order);
        }
        place_text(bmp, p, line, LEGEND_LEFT + 10, legend_y - 1, white);
        legend_y += LEGEND_LINE_PX;
    }
}
