// The part of the desktop a window that fills the screen may take.
#pragma once

// The free area of the current desktop in w and h: what the window manager leaves beside its
// panels and docks, as it announces it on the root window (_NET_WORKAREA). False when there is
// no window manager that says (plain X without one: the whole screen is free) or no window
// system to ask.
bool desktop_free_area(int& w, int& h);
