// The synchrony graph: how far each swarm has blinked in step over the last 600 frames, as a
// strip chart in a box at the lower right, beside a legend of who chases whom.
#pragma once

#include "render/status_line.h"
#include "sim/synchrony.h"

struct BITMAP;

// The box on the 1024 by 768 layout, corners included; it keeps above the status line and clear of
// the panel.
constexpr int GRAPH_LEFT = 589;
constexpr int GRAPH_TOP = 607;
constexpr int GRAPH_RIGHT = 1016;
constexpr int GRAPH_BOTTOM = 748;
static_assert(GRAPH_BOTTOM < STATUS_LINE_TOP, "the graph keeps above the status line");

// The chart inside the box: one column for every two frames, order 1 on the top row and 0 on
// the bottom one, the latest frame in the right column.
constexpr int GRAPH_CHART_LEFT = GRAPH_LEFT + 22;
constexpr int GRAPH_CHART_TOP = GRAPH_TOP + 20;
constexpr int GRAPH_CHART_W = ORDER_HISTORY_FRAMES / 2;
constexpr int GRAPH_CHART_H = 100;

// Draws the graph onto bmp: the box darkened; for every swarm that has members now, from
// history, the range of its order over the six frames up to each column as a light band and
// their mean as a line, in its colour; the dotted 0.9 line; and the global order and per swarm
// "swarm>target order lock" from now. Drawn in the lower right corner of bmp at the given scale
// (render/overlay_place.h). Reads the swarm table for colours and targets; changes nothing.
void draw_sync_graph(BITMAP* bmp, const OrderHistory& history, const Synchrony& now, int scale = 1);
