// The outputs of a headless run (the trace, the statistics table, the raw video, the sound, the
// flashes as MIDI, the picture series and the last picture), opened, written after each frame and
// closed in one way. They are checked against the run's inputs and one another before any is
// opened, so a run refused for any reason leaves every file as it was. The first write that fails
// ends the run at once, and every output it leaves is whole: the streams end on their last whole
// frame, the sound's header counts the samples it holds, and a picture is written beside its name
// and renamed when whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/run_files.h"
#include "headless/midi_recording.h"
#include "headless/raw_video.h"
#include "headless/sim_options.h"
#include "headless/stats_file.h"
#include "headless/trace.h"
#include "headless/wav_file.h"

struct BITMAP;

struct SimOutputs {
    TraceWriter trace;
    StatsWriter stats;
    RawVideo video;
    WavFile wav;
    MidiRecording midi;
    std::vector<char> series_path;  // the series' next file name, room for any frame number
    int64_t series_count = 0;       // pictures in the series so far
};

// Checks the outputs the options ask for against the inputs in files and one another, and the
// folders they go to; then opens the trace, the table, the raw video and the sound and makes the
// pictures' folders.
// Returns 0, or the exit status after a message on standard error.
int open_sim_outputs(const SimOptions& options, RunFiles& files, SimOutputs& outputs);

// Whether the run makes sound for its WAV file.
bool is_recording_sound(const SimOutputs& outputs);

// Whether the run finds its flashes, the peaks the sound is made of, for its MIDI file.
bool is_recording_flashes(const SimOutputs& outputs);

// Writes what frame adds to each output, picture being the frame's picture. False after a
// message on standard error when a write failed: every output has then been ended whole and
// the run is to stop.
bool write_sim_frame(SimOutputs& outputs, const SimOptions& options, int64_t frame,
                     BITMAP* picture);

// Closes the outputs and saves the last picture, picture. False after a message on standard
// error when any of that failed.
bool close_sim_outputs(SimOutputs& outputs, const SimOptions& options, BITMAP* picture);

// Ends every output that is still open, whole as far as it goes, when the run stops early.
void abandon_sim_outputs(SimOutputs& outputs);

// Saves the last picture at path, PNG or BMP by its name, through a temporary file beside it
// that replaces the old picture only once it is whole.
bool save_shot(const std::string& path, BITMAP* bmp);
