// Measures the floor of a frame: one 1024 by 768 blit between two memory bitmaps at a colour
// depth, the least a frame that repaints the whole picture can cost. Prints the median of many
// blits in milliseconds.
// Usage: blit-floor DEPTH
#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    const int depth = argc > 1 ? std::atoi(argv[1]) : 32;
    if (depth != 15 && depth != 16 && depth != 24 && depth != 32) {
        std::fprintf(stderr, "usage: blit-floor 15|16|24|32\n");
        return 2;
    }
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(depth);
    BITMAP* from = create_bitmap(1024, 768);
    BITMAP* to = create_bitmap(1024, 768);
    clear_to_color(from, makecol(40, 30, 20));
    clear_bitmap(to);
    for (int i = 0; i < 20; ++i) blit(from, to, 0, 0, 0, 0, 1024, 768);
    std::vector<double> ms;
    for (int i = 0; i < 201; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        blit(from, to, 0, 0, 0, 0, 1024, 768);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
    std::printf("%.4f\n", ms[ms.size() / 2]);
    return 0;
}
