// The flashes of a headless run as a Standard MIDI File (files/midi_file.h): each frame's notes
// (sound/flash_notes.h) at the frame's time, and at the end the notes still sounding ended a
// frame after the last.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "files/midi_file.h"
#include "sound/flash_notes.h"

struct MidiRecording {
    MidiFile file;
    FlashNotes notes;
    std::unique_ptr<FrameMidi> messages;  // made when the file is opened
    int64_t last_frame = 0;               // written so far
};

// Creates the file. Returns false when it cannot be written.
bool open_midi_recording(MidiRecording& midi, const std::string& path);

// Adds the notes of frame, whose flashes are peaks.
bool write_midi_recording_frame(MidiRecording& midi, int64_t frame, const BlinkPeaks& peaks);

// Ends the notes still sounding and closes the file; true when it was not open. With
// `finish` false (a run that failed) the file is only closed, whole up to its last frame.
bool close_midi_recording(MidiRecording& midi, bool finish);
