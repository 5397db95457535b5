// Pacing of the title screen and the frame loop on the library's frame timer. The timer's
// callback wakes a blocked waiter, so a paced loop wakes about once a frame instead of polling.
#pragma once

// Installs the frame timer at frames_per_second, with no tick pending and no stop requested.
// Returns false when the wake-up cannot be made or the timer cannot be installed.
bool start_pacing(int frames_per_second);

// Removes the frame timer.
void stop_pacing();

// The same as start_pacing without the timer: ticks then come only from frame_tick. Lets a
// test be the clock.
bool reset_pacing();

// One tick of the frame timer; the timer calls it, from its own thread. Safe in any callback.
void frame_tick();

// Blocks until a tick comes or stop_waiting was called, then fetches the window's events when
// the program fetches them itself (app/window_events.h). Returns the ticks that came since the
// last wait, 0 when only stopped. Ticks that came while the caller was busy wake it once, not
// once each: a slow frame is followed by one frame, not by as many as it overran.
int wait_for_tick();

// Makes a blocked wait return at once, and every later one: the program is ending. Safe in
// any callback, such as the window's close button.
void stop_waiting();
