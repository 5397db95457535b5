// Sending the frames' bundles from a thread of its own: a send over UDP cost the frame loop
// 17 to 40 microseconds on a busy machine (1 to 2% of a frame), and so did waking a thread for
// it, so the frame only hands its bundle over (a copy under a lock that is never held for long)
// and the thread, which looks every OSC_SEND_PERIOD, sends it. A bundle leaves at most that
// long after its frame. Nothing waits for a receiver: bundles that find the hand-over full are
// lost and counted.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "link/frame_bundle.h"

// Bundles handed over and not yet sent: four frames.
constexpr int OSC_SEND_QUEUE = 4;

// How often the thread looks for bundles: about half a frame.
constexpr std::chrono::milliseconds OSC_SEND_PERIOD{8};

struct OscSender {
    int socket = -1;
    std::thread thread;
    std::mutex lock;
    std::condition_variable woken;
    FrameBundle queue[OSC_SEND_QUEUE] = {};
    int first = 0;  // the oldest bundle waiting
    int count = 0;  // bundles waiting
    bool stopping = false;
    uint64_t sent = 0;  // sent whole
    uint64_t lost = 0;  // not sent whole, or the queue full

    // A program that ends on any path sends what is waiting and stops the thread.
    ~OscSender();
};

// Starts the thread that sends on socket, which the sender then owns.
void start_osc_sender(OscSender& sender, int socket);

// Hands bundle over to be sent; never waits for the send.
void hand_over_bundle(OscSender& sender, const FrameBundle& bundle);

// Sends what is waiting, stops the thread and closes the socket. Nothing when not started.
void stop_osc_sender(OscSender& sender);
