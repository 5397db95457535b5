// Who fetches the window's events: keys, the mouse, the close button, exposure.
//
// The library fetches them on a background thread of its own, which wakes every millisecond
// and asks the display for a reply every 10 ms, in any window. lumora can hold that thread
// still and fetch the events itself, once a tick, after the wait for the tick and before it
// reads the keys, and only when some have come: the program then wakes about once a frame.
// That takeover reaches into the library's internals, so it is done only with the library
// release it was written for, and only when the running library is that release too.
//
// Otherwise the plain wait: the library's thread goes on fetching, and the frame loop only
// waits for ticks. Setting LUMORA_PLAIN_EVENTS=1 in the environment chooses it as well. Every
// key, the close button and ESC work the same either way.
#pragma once

// Takes over fetching the window's events when it can (above). Call it once the window,
// keyboard and mouse are installed; the library's thread is let go again when the process
// ends, before the library closes. Returns whether it took over; false leaves the plain wait,
// which needs nothing more. A program that never calls it keeps the plain wait.
bool take_over_window_events();

// Fetches the events that have come, once taken over; does nothing with the plain wait. Only
// the thread that waits for ticks calls it.
void fetch_window_events();
