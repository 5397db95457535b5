// Raw video: every picture as it is, for a video encoder to read without a file per frame.
// Each frame is 1024 by 768 pixels of three bytes, red, green and blue, rows from the top
// (ffmpeg: -f rawvideo -pix_fmt rgb24 -s 1024x768), one frame after another and nothing else.
// A video cut short by a full disk ends on its last whole frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/output_file.h"

struct BITMAP;

struct RawVideo {
    OutputFile file;
    std::vector<uint8_t> frame;  // one frame's bytes, made once
};

// Opens path for the frames, or standard output for "-". Returns false when it cannot be
// opened. A reader that goes away makes the next write fail rather than end the program.
bool open_raw_video(RawVideo& video, const std::string& path);

// Writes the picture as the next frame. Returns false when not every byte was written.
bool write_raw_frame(RawVideo& video, BITMAP* picture);
