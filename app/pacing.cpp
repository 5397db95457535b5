#include "app/pacing.h"

#include <allegro.h>
#include <semaphore.h>

#include <atomic>
#include <cerrno>

#include "app/window_events.h"

// The waiter blocks on the semaphore; each tick and the stop request post it. Posting a
// semaphore and touching lock-free atomics is all a callback may do: the timer calls from
// its own thread, the close button from whichever thread fetches the window's events.
static sem_t wake_up;
static bool wake_up_made = false;
static std::atomic<int> pending_ticks{0};
static std::atomic<bool> stopping{false};

void frame_tick() {
    // Counted before the post, so the waiter the post wakes sees the tick.
    pending_ticks.fetch_add(1);
    sem_post(&wake_up);
}
END_OF_FUNCTION(frame_tick)

void stop_waiting() {
    stopping = true;
    sem_post(&wake_up);
}

bool reset_pacing() {
    // The semaphore is made once and kept: a close request may still post it while the
    // process ends.
    if (!wake_up_made) {
        if (sem_init(&wake_up, 0, 0) != 0) return false;
        wake_up_made = true;
    }
    while (sem_trywait(&wake_up) == 0) {
    }
    pending_ticks = 0;
    stopping = false;
    return true;
}

bool start_pacing(int frames_per_second) {
    if (!reset_pacing()) return false;
    LOCK_FUNCTION(frame_tick);
    return install_int_ex(frame_tick, BPS_TO_TIMER(frames_per_second)) == 0;
}

void stop_pacing() { remove_int(frame_tick); }

// Blocks until the timer ticks or stop_waiting is called; see wait_for_tick.
static int wait_for_timer_tick() {
    while (!stopping.load()) {
        if (sem_wait(&wake_up) != 0) {
            // A signal cut the wait short; anything else means there is nothing to wait on.
            if (errno == EINTR) continue;
            break;
        }
        // The posts of ticks that came while the caller was busy are used up together, so
        // they wake it once.
        while (sem_trywait(&wake_up) == 0) {
        }
        const int ticks = pending_ticks.exchange(0);
        if (ticks > 0) return ticks;
        // The post of a tick that an earlier wait already counted, or the stop request.
    }
    // The program is ending: no wait blocks any more.
    return pending_ticks.exchange(0);
}

int wait_for_tick() {
    const int ticks = wait_for_timer_tick();
    // Keys and the close button are handled before the caller looks at them.
    fetch_window_events();
    return ticks;
}
