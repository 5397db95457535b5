#include "app/window_events.h"

#include <allegro.h>

#include <cstdlib>
#include <cstring>

// The takeover uses the library's background-thread manager and its X11 driver's state, which
// are not part of its interface: it is built only against the release it was written for,
// 4.4.3, and only when the internal headers and the window system's library are there.
#if defined(LUMORA_WITH_X11) && defined(ALLEGRO_WITH_XWINDOWS) && ALLEGRO_VERSION == 4 && \
    ALLEGRO_SUB_VERSION == 4 && ALLEGRO_WIP_VERSION == 3 &&                               \
    __has_include(<allegro/platform/aintunix.h>) && __has_include(<xalleg.h>)
#define LUMORA_CAN_TAKE_OVER_EVENTS 1
#include <allegro/platform/aintunix.h>
#include <xalleg.h>
#else
#define LUMORA_CAN_TAKE_OVER_EVENTS 0
#endif

#if LUMORA_CAN_TAKE_OVER_EVENTS
// Whether the environment asks for the plain wait: LUMORA_PLAIN_EVENTS set, and not to 0.
static bool plain_wait_asked_for() {
    const char* value = std::getenv("LUMORA_PLAIN_EVENTS");
    return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

// Whether wait_for_tick fetches the window's events. Only the thread that waits touches it.
static bool fetching_events = false;

// The program may run with another build of the library than the headers it was compiled
// with; the structures the takeover reads are laid out as in the headers' release only. The
// library names its release in allegro_id: "Allegro 4.4.3, Unix".
static bool running_library_is_the_built_one() {
    static const char RELEASE[] = "Allegro " ALLEGRO_VERSION_STR;
    const std::size_t length = sizeof RELEASE - 1;
    const char after = allegro_id[length];
    return std::strncmp(allegro_id, RELEASE, length) == 0 && !(after >= '0' && after <= '9');
}

// The library's background thread runs its handlers only while its "interrupts" are enabled;
// disabled, it blocks within 10 ms and wakes no more. It must run again before the library
// closes, which stops the thread and waits for it.
static void give_back_window_events() {
    if (!fetching_events) return;
    fetching_events = false;
    _unix_bg_man->enable_interrupts();
}

bool take_over_window_events() {
    if (fetching_events) return true;
    // The takeover needs the X11 system driver with its window open and the threaded
    // background manager: the one thread that fetches the events.
    if (plain_wait_asked_for() || !running_library_is_the_built_one() || system_driver == nullptr ||
        system_driver->id != SYSTEM_XWINDOWS || _xwin.display == nullptr ||
        _unix_bg_man != &_bg_man_pthreads || !_unix_bg_man->multi_threaded)
        return false;
    _unix_bg_man->disable_interrupts();
    fetching_events = true;
    // Handlers registered later run earlier: this one runs before the library's own exit.
    std::atexit(give_back_window_events);
    return true;
}

// The library's handler first waits for the display to catch up with every request sent, a
// round trip that costs a wake-up of its own; it is called only when events have come.
void fetch_window_events() {
    if (fetching_events && XEventsQueued(_xwin.display, QueuedAfterFlush) > 0) _xwin_handle_input();
}
#else
bool take_over_window_events() { return false; }

void fetch_window_events() {}
#endif
