#include "headless/raw_video.h"

#include <allegro.h>

#include <csignal>

#include "render/picture_file.h"
#include "sim/world.h"

bool open_raw_video(RawVideo& video, const std::string& path) {
    if (!open_output_file(video.file, path)) return false;
    // An encoder that stops reading shows as a failed write, which the run reports.
    std::signal(SIGPIPE, SIG_IGN);
    video.frame.resize(static_cast<size_t>(field_w_px) * field_h_px * 3);
    return true;
}

bool write_raw_frame(RawVideo& video, BITMAP* picture) {
    copy_rgb(picture, video.frame.data());
    return append_piece(video.file, video.frame.data(), video.frame.size());
}
