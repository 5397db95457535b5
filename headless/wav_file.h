// The sound of a headless run as a WAV file: PCM, 48000 samples a second, stereo, 16 bits, one
// frame's samples after another. Its header counts the samples it holds whenever the file is
// closed, also after a write that fell short: then it ends on its last whole frame of samples.
#pragma once

#include <cstdint>
#include <string>

#include "files/output_file.h"
#include "sound/frame_sound.h"

// The most frames a file can hold: its sizes are 32-bit numbers. At 60 frames a second that
// is over six hours.
constexpr int64_t WAV_MAX_FRAMES = (0xFFFFFFFFLL - 36) / (SOUND_FRAME_SAMPLES * SOUND_CHANNELS * 2);

struct WavFile {
    OutputFile file;
    int64_t frames = 0;  // written so far
};

// Creates the file with a header for no samples yet. Returns false when it cannot be written.
bool open_wav_file(WavFile& wav, const std::string& path);

// Adds a frame's samples; the header is brought up to date only by close_wav_file.
bool write_wav_frame(WavFile& wav, const FrameSound& sound);

// Writes the count of the frames the file holds into its header and closes it. Returns false
// when that fails.
bool close_wav_file(WavFile& wav);
