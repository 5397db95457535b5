#include "link/osc_sender.h"

#include <cstring>

#include "link/udp_link.h"

// Sends every bundle waiting, then rests OSC_SEND_PERIOD: the frame loop never wakes the
// thread, which would cost it a system call and, on a busy machine, its core.
static void send_what_comes(OscSender& s) {
    static FrameBundle sending;
    std::unique_lock<std::mutex> held(s.lock);
    for (;;) {
        while (s.count > 0) {
            const FrameBundle& next = s.queue[s.first];
            std::memcpy(sending.bytes, next.bytes, next.size);
            sending.size = next.size;
            s.first = (s.first + 1) % OSC_SEND_QUEUE;
            --s.count;
            held.unlock();
            const bool whole = send_datagram(s.socket, sending.bytes, sending.size);
            held.lock();
            ++(whole ? s.sent : s.lost);
        }
        if (s.stopping) return;
        s.woken.wait_for(held, OSC_SEND_PERIOD, [&s] { return s.stopping; });
    }
}

void start_osc_sender(OscSender& sender, int socket) {
    sender.socket = socket;
    sender.thread = std::thread(send_what_comes, std::ref(sender));
}

void hand_over_bundle(OscSender& sender, const FrameBundle& bundle) {
    {
        std::lock_guard<std::mutex> held(sender.lock);
        if (sender.count == OSC_SEND_QUEUE) {
            ++sender.lost;
            return;
        }
        FrameBundle& slot = sender.queue[(sender.first + sender.count) % OSC_SEND_QUEUE];
        std::memcpy(slot.bytes, bundle.bytes, bundle.size);
        slot.size = bundle.size;
        ++sender.count;
    }
}

void stop_osc_sender(OscSender& sender) {
    if (!sender.thread.joinable()) return;
    {
        std::lock_guard<std::mutex> held(sender.lock);
        sender.stopping = true;
    }
    sender.woken.notify_one();
    sender.thread.join();
    close_socket(sender.socket);
    sender.socket = -1;
}

OscSender::~OscSender() { stop_osc_sender(*this); }
