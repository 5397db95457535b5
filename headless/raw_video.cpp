#include "headless/raw_video.h"

#include <allegro.h>

#include <csignal>

#include "render/picture_file.h"
#include "sim/world.h"

bool open_raw_video(RawVideo& video, const std::string& path) {
    video.to_stdout = path == "-";
    video.out = video.to_stdout ? stdout : std::fopen(path.c_str(), "wb");
    if (video.out == nullptr) return false;
    // An encoder that stops reading shows as a failed write, which the run reports.
    std::signal(SIGPIPE, SIG_IGN);
    video.frame.resize(static_cast<size_t>(SCREEN_W_PX) * SCREEN_H_PX * 3);
    return true;
}

bool write_raw_frame(RawVideo& video, BITMAP* picture) {
    copy_rgb(picture, video.frame.data());
    return std::fwrite(video.frame.data(), 1, video.frame.size(), video.out) == video.frame.size();
}

bool close_raw_video(RawVideo& video) {
    if (video.out == nullptr) return true;
    const bool closed = video.to_stdout ? std::fflush(video.out) == 0 && !std::ferror(video.out)
                                        : std::fclose(video.out) == 0;
    video.out = nullptr;
    return closed;
}
