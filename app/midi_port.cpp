#include "app/midi_port.h"

#if LUMORA_WITH_ALSA

#include <alsa/asoundlib.h>

#include <memory>

#include "sound/flash_notes.h"

namespace {

// The port, the notes sounding on it and a frame's messages, made when it opens.
struct MidiPort {
    snd_seq_t* sequencer = nullptr;
    int port = -1;
    FlashNotes notes;
    std::unique_ptr<FrameMidi> messages;
};
MidiPort midi;

// A frame of every swarm flashing at once is about 6000 events of 28 bytes: room for it, so
// that a large frame is not cut short while the sequencer keeps up.
constexpr size_t OUTPUT_BUFFER_BYTES = 256 * 1024;

// ALSA reports errors on standard error by itself; a missing sequencer is no error here.
void quiet(const char*, int, const char*, int, const char*, ...) {}

void send(const FrameMidi& frame) {
    for (int i = 0; i < frame.count; ++i) {
        const uint8_t* m = frame.bytes + MIDI_MESSAGE_BYTES * i;
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        snd_seq_ev_set_source(&event, midi.port);
        snd_seq_ev_set_subs(&event);
        snd_seq_ev_set_direct(&event);
        const int channel = m[0] & 0x0F;
        switch (m[0] & 0xF0) {
            case 0x90:
                snd_seq_ev_set_noteon(&event, channel, m[1], m[2]);
                break;
            case 0x80:
                snd_seq_ev_set_noteoff(&event, channel, m[1], m[2]);
                break;
            default:
                snd_seq_ev_set_controller(&event, channel, m[1], m[2]);
                break;
        }
        // Full: the rest of the frame is let go rather than waited for.
        if (snd_seq_event_output(midi.sequencer, &event) < 0) break;
    }
    if (snd_seq_drain_output(midi.sequencer) < 0) snd_seq_drop_output(midi.sequencer);
}

}  // namespace

bool open_midi_port() {
    if (midi.sequencer != nullptr) return true;
    snd_lib_error_set_handler(quiet);
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0) return false;
    const int port = snd_seq_create_simple_port(
        seq, "lumora", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (snd_seq_set_client_name(seq, "lumora") < 0 || port < 0) {
        snd_seq_close(seq);
        return false;
    }
    snd_seq_set_output_buffer_size(seq, OUTPUT_BUFFER_BYTES);
    midi.sequencer = seq;
    midi.port = port;
    midi.notes = FlashNotes{};
    if (!midi.messages) midi.messages = std::make_unique<FrameMidi>();
    return true;
}

bool midi_port_open() { return midi.sequencer != nullptr; }

void send_frame_midi(const BlinkPeaks& peaks) {
    if (midi.sequencer == nullptr) return;
    make_frame_midi(midi.notes, peaks, *midi.messages);
    send(*midi.messages);
}

void close_midi_port() {
    if (midi.sequencer == nullptr) return;
    end_frame_midi(midi.notes, *midi.messages);
    send(*midi.messages);
    snd_seq_close(midi.sequencer);
    midi.sequencer = nullptr;
    midi.port = -1;
}

#else

bool open_midi_port() { return false; }
bool midi_port_open() { return false; }
void send_frame_midi(const BlinkPeaks&) {}
void close_midi_port() {}

#endif
