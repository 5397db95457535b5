#include "app/sound_output.h"

#if LUMORA_WITH_ALSA

#include <alsa/asoundlib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "sound/sound_feed.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto FRAME_TIME =
    std::chrono::microseconds(1000000 * SOUND_FRAME_SAMPLES / SOUND_RATE_HZ);

// The device's buffer and how much it is given before it starts, in frames of sound. With one
// more frame held back (sound/sound_feed.h) the sound comes about 50 ms after its frame.
constexpr int BUFFER_FRAMES = 6;
constexpr int START_FRAMES = 2;
// More than this queued in the device, and its clock is behind the frames': two are merged.
constexpr int FULL_FRAMES = 4;
// The held frame fades out when the device has no more than this left to play.
constexpr int MARGIN_SAMPLES = SOUND_FRAME_SAMPLES / 4;

// Frames on their way from the frame loop to the thread. The loop never waits: when the
// thread falls this far behind, a frame is dropped, and the thread's next one follows a gap.
// The thread is woken for every second frame and takes both, which halves its wake-ups; the
// device's queue covers the frame that waits.
constexpr int WAITING_FRAMES = 8;
constexpr int WAKE_FOR_FRAMES = 2;

std::mutex lock;
std::condition_variable wake;
FrameSound waiting[WAITING_FRAMES];
int first_waiting = 0;
int waiting_count = 0;
bool dropped = false;  // a frame was let go since the thread last took one
bool stopping = false;
std::atomic<bool> wanted{false};
std::atomic<bool> opened{false};  // the thread is done opening the device, either way
// Never destroyed: a thread still running when the process ends must not end it with an error.
std::thread* player = nullptr;

// ALSA reports errors on standard error by itself; a missing device is no error here.
void quiet(const char*, int, const char*, int, const char*, ...) {}

snd_pcm_t* open_device() {
    snd_lib_error_set_handler(quiet);
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    snd_pcm_hw_params_t* hw;
    snd_pcm_hw_params_alloca(&hw);
    snd_pcm_uframes_t buffer = BUFFER_FRAMES * SOUND_FRAME_SAMPLES;
    snd_pcm_uframes_t period = SOUND_FRAME_SAMPLES;
    unsigned rate = SOUND_RATE_HZ;
    snd_pcm_sw_params_t* sw;
    snd_pcm_sw_params_alloca(&sw);
    const bool ready =
        snd_pcm_hw_params_any(pcm, hw) >= 0 &&
        snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED) >= 0 &&
        snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16) >= 0 &&
        snd_pcm_hw_params_set_channels(pcm, hw, SOUND_CHANNELS) >= 0 &&
        snd_pcm_hw_params_set_rate(pcm, hw, rate, 0) >= 0 &&
        snd_pcm_hw_params_set_buffer_size_near(pcm, hw, &buffer) >= 0 &&
        snd_pcm_hw_params_set_period_size_near(pcm, hw, &period, nullptr) >= 0 &&
        snd_pcm_hw_params(pcm, hw) >= 0 && snd_pcm_sw_params_current(pcm, sw) >= 0 &&
        snd_pcm_sw_params_set_start_threshold(pcm, sw, START_FRAMES * SOUND_FRAME_SAMPLES) >= 0 &&
        snd_pcm_sw_params(pcm, sw) >= 0;
    if (ready) return pcm;
    snd_pcm_close(pcm);
    return nullptr;
}

// Sends one frame. A device that ran dry starts again; what it cannot take is let go.
void send(snd_pcm_t* pcm, const FrameSound& sound) {
    const int16_t* at = sound.samples;
    snd_pcm_sframes_t left = SOUND_FRAME_SAMPLES;
    for (int attempt = 0; left > 0 && attempt < 3; ++attempt) {
        const snd_pcm_sframes_t sent = snd_pcm_writei(pcm, at, left);
        if (sent >= 0) {
            at += sent * SOUND_CHANNELS;
            left -= sent;
        } else if (snd_pcm_recover(pcm, static_cast<int>(sent), 1) < 0) {
            return;
        }
    }
}

// Samples the device has yet to play, 0 when it cannot say.
snd_pcm_sframes_t queued(snd_pcm_t* pcm) {
    snd_pcm_sframes_t delay = 0;
    return snd_pcm_delay(pcm, &delay) == 0 && delay > 0 ? delay : 0;
}

void play() {
    snd_pcm_t* pcm = open_device();
    opened = true;
    if (pcm == nullptr) {
        wanted = false;
        return;
    }
    static SoundFeed feed;
    static FrameSound next, out;
    Clock::time_point runs_out = Clock::now();
    for (;;) {
        bool came = false;
        bool after_gap = false;
        {
            std::unique_lock<std::mutex> hold(lock);
            const auto ready = [] { return stopping || waiting_count > 0; };
            // Nothing held, nothing to lose: wait as long as it takes.
            if (feed.holding) {
                wake.wait_until(hold, runs_out, ready);
            } else {
                wake.wait(hold, ready);
            }
            if (waiting_count > 0) {
                next = waiting[first_waiting];
                first_waiting = (first_waiting + 1) % WAITING_FRAMES;
                --waiting_count;
                came = true;
                after_gap = dropped;
                dropped = false;
            } else if (stopping) {
                break;
            }
        }
        const snd_pcm_sframes_t before = queued(pcm);
        if (after_gap && feed_gap(feed, out)) send(pcm, out);
        bool sending;
        if (!came) {
            sending = feed_gap(feed, out);
        } else if (before > FULL_FRAMES * SOUND_FRAME_SAMPLES) {
            sending = feed_merged(feed, next, out);
        } else {
            sending = feed_frame(feed, next, out);
        }
        if (sending) send(pcm, out);
        // A device that says how much it holds runs out when that is played; one that does not
        // (ALSA's null device takes everything at once) is trusted to last until the frame
        // after the next pair is late.
        const snd_pcm_sframes_t left = queued(pcm) - MARGIN_SAMPLES;
        runs_out =
            Clock::now() + (left > 0 ? std::chrono::microseconds(1000000 * left / SOUND_RATE_HZ)
                                     : (WAKE_FOR_FRAMES + 1) * FRAME_TIME);
    }
    if (feed_gap(feed, out)) send(pcm, out);
    // The last of it is played out, for a short while at most, before the device closes.
    for (int n = 0; n < 20 && queued(pcm) > 0; ++n) std::this_thread::sleep_for(FRAME_TIME / 2);
    snd_pcm_close(pcm);
}

}  // namespace

bool start_sound_output() {
    if (player != nullptr) return true;
    stopping = false;
    wanted = true;
    try {
        player = new std::thread(play);
    } catch (...) {
        wanted = false;
    }
    return wanted;
}

void play_frame_sound(const FrameSound& sound) {
    if (!wanted) return;
    {
        std::lock_guard<std::mutex> hold(lock);
        if (waiting_count == WAITING_FRAMES) {
            first_waiting = (first_waiting + 1) % WAITING_FRAMES;
            --waiting_count;
            dropped = true;
        }
        waiting[(first_waiting + waiting_count) % WAITING_FRAMES] = sound;
        ++waiting_count;
        if (waiting_count < WAKE_FOR_FRAMES) return;
    }
    wake.notify_one();
}

bool sound_output_wanted() { return wanted; }

void stop_sound_output() {
    if (player == nullptr || !player->joinable()) return;
    {
        std::lock_guard<std::mutex> hold(lock);
        stopping = true;
    }
    wake.notify_one();
    wanted = false;
    // A device still being opened (a sound server that does not answer) does not hold up the
    // end: the thread stops by itself once it is open, or ends with the process.
    if (opened) player->join();
}

#else

bool start_sound_output() { return false; }
void play_frame_sound(const FrameSound&) {}
bool sound_output_wanted() { return false; }
void stop_sound_output() {}

#endif
