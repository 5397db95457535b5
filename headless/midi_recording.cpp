#include "headless/midi_recording.h"

bool open_midi_recording(MidiRecording& midi, const std::string& path) {
    midi.notes = FlashNotes{};
    midi.last_frame = 0;
    if (!midi.messages) midi.messages = std::make_unique<FrameMidi>();
    return open_midi_file(midi.file, path);
}

bool write_midi_recording_frame(MidiRecording& midi, int64_t frame, const BlinkPeaks& peaks) {
    make_frame_midi(midi.notes, peaks, *midi.messages);
    midi.last_frame = frame;
    return write_midi_frame(midi.file, frame, midi.messages->bytes, midi.messages->count);
}

bool close_midi_recording(MidiRecording& midi, bool finish) {
    if (midi.file.file.fd < 0) return true;
    bool ended = true;
    if (finish) {
        end_frame_midi(midi.notes, *midi.messages);
        ended = write_midi_frame(midi.file, midi.last_frame + 1, midi.messages->bytes,
                                 midi.messages->count);
    }
    return close_midi_file(midi.file) && ended;
}
